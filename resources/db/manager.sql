-- Manager database (template 152): managers and the scale settings of the register.
-- Runs after scale_mg.sql; ends with the administrator and the first scale.

CREATE TABLE [Manager] ([mg_id] TEXT(50), [mg_pass] TEXT(50), [corner_code] LONG);
CREATE UNIQUE INDEX [mg_id] ON [Manager] ([mg_id]);
CREATE INDEX [mg_pass] ON [Manager] ([mg_pass]);

CREATE TABLE [Scale_Info] (
  [WeightNum] TEXT(50), [PriceNum] TEXT(50), [WeightUnit] TEXT(50), [Ethernet_Init] TEXT(50),
  [Ethernet_Stat] TEXT(50), [MyID] TEXT(50), [IP] TEXT(50), [MASK] TEXT(50),
  [PresetPageSelect] TEXT(50), [BarCodePriceSelect] TEXT(50), [ItemNameSorting] TEXT(50),
  [LimitTime] TEXT(50), [LabelInfo] TEXT(50), [ULabelInfo] TEXT(50), [pos_flag] TEXT(50),
  [wLimitPntType] TEXT(50), [wLimtTotalInfo] TEXT(50), [BarCodePrintFormat] TEXT(50),
  [CodeLand] TEXT(50), [PrintAdvNum] TEXT(50), [Destination_IP] TEXT(50),
  [Destination_Port] TEXT(50), [del_won] TEXT(50), [HanFont] TEXT(50), [PriceUnit] TEXT(50),
  [PassWord] TEXT(50), [VAT] TEXT(50), [ID] COUNTER,
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [ID] ON [Scale_Info] ([ID]);
CREATE INDEX [CodeLand] ON [Scale_Info] ([CodeLand]);
CREATE INDEX [MyId] ON [Scale_Info] ([MyID]);
CREATE INDEX [PriceNum] ON [Scale_Info] ([PriceNum]);
CREATE INDEX [PrintAdvNum] ON [Scale_Info] ([PrintAdvNum]);
CREATE INDEX [WeightNum] ON [Scale_Info] ([WeightNum]);

INSERT INTO [Manager] ([mg_id], [mg_pass], [corner_code]) VALUES ('vexo', 'vexo', 0);
INSERT INTO [ScaleMG] ([ID], [scale_num], [scale_name], [ip], [com_port], [corner_code], [mg_id])
  VALUES (1, '1', 'scale1', '192.168.0.130', '98', NULL, 'vexo');

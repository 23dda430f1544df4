-- Scale settings database (template 208).

CREATE TABLE [Scale_Info] (
  [WeightNum] TEXT(50), [PriceNum] TEXT(50), [WeightUnit] TEXT(50), [Ethernet_Init] TEXT(50),
  [Ethernet_Stat] TEXT(50), [MyID] TEXT(50), [IP] TEXT(50), [MASK] TEXT(50),
  [PresetPageSelect] TEXT(50), [BarCodePriceSelect] TEXT(50), [ItemNameSorting] TEXT(50),
  [ItemLandSorting] TEXT(50), [LimitTime] TEXT(50), [LabelInfo] TEXT(50), [ULabelInfo] TEXT(50),
  [pos_flag] TEXT(50), [wLimitPntType] TEXT(50), [wLimtTotalInfo] TEXT(50),
  [BarCodePrintFormat] TEXT(50), [CodeLand] TEXT(50), [PrintAdvNum] TEXT(50),
  [Destination_IP] TEXT(50), [Destination_Port] TEXT(50), [del_won] TEXT(50), [HanFont] TEXT(50),
  [PriceUnit] TEXT(50), [PassWord] TEXT(50), [VAT] TEXT(50), [Reserved] TEXT(50), [ID] COUNTER,
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [ID] ON [Scale_Info] ([ID]);
CREATE INDEX [CodeLand] ON [Scale_Info] ([CodeLand]);
CREATE INDEX [MyId] ON [Scale_Info] ([MyID]);
CREATE INDEX [PriceNum] ON [Scale_Info] ([PriceNum]);
CREATE INDEX [PrintAdvNum] ON [Scale_Info] ([PrintAdvNum]);
CREATE INDEX [WeightNum] ON [Scale_Info] ([WeightNum]);

CREATE TABLE [Scale_Root_Info] (
  [Ethernet_Init] TEXT(50), [Ethernet_Stat] TEXT(50), [MyID] TEXT(50), [IP] TEXT(50), [MASK] TEXT(50),
  [Destination_IP] TEXT(50), [Destination_Port] TEXT(50), [ID] COUNTER,
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [ID] ON [Scale_Root_Info] ([ID]);
CREATE INDEX [MyId] ON [Scale_Root_Info] ([MyID]);

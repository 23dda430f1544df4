-- Item database tables (templates 150, 195 and 220), in the engine's Jet dialect.
-- Every column but the autonumber ID is text; the index names are those stored.

CREATE TABLE [Item] (
  [ID] COUNTER,
  [item_num] TEXT(50), [item_name] TEXT(30), [item_name2] TEXT(30), [land] TEXT(50),
  [additem] TEXT(50), [fix_price] TEXT(50), [piece] TEXT(50), [unitprice] TEXT(50),
  [weight] TEXT(50), [fmark] TEXT(50), [pos_kind] TEXT(50), [pos_flg] TEXT(50),
  [pos_code] TEXT(50), [dateprint] TEXT(50), [limit_day] TEXT(50), [limit_time] TEXT(50),
  [sale_start] TEXT(50), [sale_price] TEXT(50), [sale_day] TEXT(50), [total_weight] TEXT(50),
  [total_price] TEXT(50), [total_print] TEXT(50), [mg_id] TEXT(50), [info] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [ID] ON [Item] ([ID]);
CREATE INDEX [item_num] ON [Item] ([item_num]);
CREATE INDEX [mg_num] ON [Item] ([mg_id]);

CREATE TABLE [Add] (
  [ID] COUNTER, [num] TEXT(50), [info] TEXT(50),
  [str1] TEXT(60), [str2] TEXT(60), [str3] TEXT(60), [str4] TEXT(60), [str5] TEXT(60),
  [str6] TEXT(60), [str7] TEXT(60), [str8] TEXT(60), [str9] TEXT(60), [str10] TEXT(60),
  [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [ID] ON [Add] ([ID]);
CREATE INDEX [info] ON [Add] ([info]);
CREATE INDEX [mg_num] ON [Add] ([mg_id]);
CREATE INDEX [num] ON [Add] ([num]);

CREATE TABLE [AdvT] (
  [ID] COUNTER, [adv_num] TEXT(50), [str1] TEXT(50), [str2] TEXT(50), [mg_id] TEXT(50), [info] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [adv_num] ON [AdvT] ([adv_num]);
CREATE INDEX [mg_id] ON [AdvT] ([mg_id]);

CREATE TABLE [Land_Add] (
  [land_num] TEXT(50), [land_str] TEXT(50), [mg_id] TEXT(50), [ID] COUNTER,
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [ID] ON [Land_Add] ([ID]);
CREATE INDEX [mg_id] ON [Land_Add] ([mg_id]);

CREATE TABLE [Preset] (
  [ID] COUNTER, [page_num] TEXT(50), [num] TEXT(50), [str] TEXT(20), [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [ID] ON [Preset] ([ID]);
CREATE INDEX [mg_num] ON [Preset] ([mg_id]);
CREATE INDEX [num] ON [Preset] ([num]);
CREATE INDEX [page_num] ON [Preset] ([page_num]);

CREATE TABLE [Corner] (
  [ID] COUNTER, [corner_code] TEXT(50), [corner_name] TEXT(50), [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [corner_code] ON [Corner] ([corner_code]);
CREATE INDEX [mg_num] ON [Corner] ([mg_id]);

CREATE TABLE [UserLabel] (
  [file_num] TEXT(50),
  [item_nameX] TEXT(50), [item_nameY] TEXT(50), [item_nameKind] TEXT(50),
  [OriginX] TEXT(50), [OriginY] TEXT(50), [OriginKind] TEXT(50),
  [PackDateX] TEXT(50), [PackDateY] TEXT(50), [PackDateKind] TEXT(50),
  [LimitDateX] TEXT(50), [LimitDateY] TEXT(50), [LimitDateKind] TEXT(50),
  [PiecePriceX] TEXT(50), [PiecePriceY] TEXT(50), [PiecePriceKind] TEXT(50),
  [weightX] TEXT(50), [weightY] TEXT(50), [weightKind] TEXT(50),
  [barcodeX] TEXT(50), [barcodeY] TEXT(50), [barcode form] TEXT(50), [barcodeLength] TEXT(50),
  [priceX] TEXT(50), [priceY] TEXT(50), [priceKind] TEXT(50),
  [item_numX] TEXT(50), [item_numY] TEXT(50), [item_numKind] TEXT(50),
  [CountX] TEXT(50), [CountY] TEXT(50), [CountKind] TEXT(50),
  [additemX] TEXT(50), [additemY] TEXT(50), [additemKind] TEXT(50), [additemLine] TEXT(50),
  [advX] TEXT(50), [advY] TEXT(50), [advKind] TEXT(50), [advLine] TEXT(50),
  [labelX] TEXT(50), [labelY] TEXT(50), [label_Gab] TEXT(50),
  [vatX] TEXT(50), [vatY] TEXT(50), [vatKind] TEXT(50),
  [vatpriceX] TEXT(50), [vatpriceY] TEXT(50), [vatpriceKind] TEXT(50),
  [mg_id] TEXT(50), [ID] COUNTER,
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [file_num] ON [UserLabel] ([file_num]);
CREATE INDEX [mg_id] ON [UserLabel] ([mg_id]);

CREATE TABLE [TotalResult] (
  [ID] COUNTER, [begin_day] TEXT(50), [print_cnt] TEXT(50), [total_weight] TEXT(50),
  [total_price] TEXT(50), [rev_day] TEXT(50), [current_scale] TEXT(50), [item_memory] TEXT(50),
  [write_item_memory] TEXT(50), [day_memory] TEXT(50), [write_day_memory] TEXT(50), [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [mg_id] ON [TotalResult] ([mg_id]);

CREATE TABLE [TotalItemResult] (
  [ID] COUNTER, [num] TEXT(50), [begin_day] TEXT(50), [print_cnt] TEXT(50), [total_weight] TEXT(50),
  [total_price] TEXT(50), [rev_day] TEXT(50), [current_scale] TEXT(50), [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [mg_id] ON [TotalItemResult] ([mg_id]);
CREATE INDEX [num] ON [TotalItemResult] ([num]);

CREATE TABLE [TotalItemDay] (
  [ID] COUNTER, [num] TEXT(50), [day] TEXT(50), [print_cnt] TEXT(50), [total_weight] TEXT(50),
  [total_price] TEXT(50), [rev_day] TEXT(50), [current_scale] TEXT(50), [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [mg_id] ON [TotalItemDay] ([mg_id]);
CREATE INDEX [num] ON [TotalItemDay] ([num]);

CREATE TABLE [TotalDayResult] (
  [ID] COUNTER, [day] TEXT(50), [print_cnt] TEXT(50), [total_weight] TEXT(50), [total_price] TEXT(50),
  [rev_day] TEXT(50), [current_scale] TEXT(50), [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [mg_id] ON [TotalDayResult] ([mg_id]);

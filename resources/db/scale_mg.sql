-- The scale register (item, manager, result-server and reservation databases).

CREATE TABLE [ScaleMG] (
  [ID] COUNTER, [scale_num] TEXT(50), [scale_name] TEXT(50), [ip] TEXT(50), [com_port] TEXT(50),
  [corner_code] TEXT(50), [mg_id] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE UNIQUE INDEX [ID] ON [ScaleMG] ([ID]);
CREATE INDEX [corner_code] ON [ScaleMG] ([corner_code]);
CREATE INDEX [mg_num] ON [ScaleMG] ([mg_id]);
CREATE INDEX [scale_num] ON [ScaleMG] ([scale_num]);

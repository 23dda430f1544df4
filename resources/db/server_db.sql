-- Sales reports of the results server (template 195).

CREATE TABLE [Server_DB] (
  [ID] COUNTER, [code_gds] TEXT(50), [PrintCnt] TEXT(50), [Result_day] TEXT(50), [Totalprice] TEXT(50),
  [Totalweight] TEXT(50), [ip] TEXT(50), [mg_id] TEXT(50), [item_name] TEXT(50), [result_time] TEXT(50),
  [scale_name] TEXT(50), [item_poscode] TEXT(50),
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [code_gds] ON [Server_DB] ([code_gds]);
CREATE INDEX [item_poscode] ON [Server_DB] ([item_poscode]);
CREATE INDEX [mg_id] ON [Server_DB] ([mg_id]);

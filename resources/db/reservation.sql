-- Reservation database (template 220): the item tables, six of them extended with
-- the reservation columns, and the reservation table. Runs after item_tables.sql.

ALTER TABLE [Item] ADD COLUMN [reservation_num] TEXT(50);
ALTER TABLE [Item] ADD COLUMN [reservation_period] TEXT(50);
ALTER TABLE [Item] ADD COLUMN [reservation_trans] TEXT(50);
CREATE INDEX [reservation_num] ON [Item] ([reservation_num]);

ALTER TABLE [Add] ADD COLUMN [reservation_num] TEXT(50);
ALTER TABLE [Add] ADD COLUMN [reservation_period] TEXT(50);
ALTER TABLE [Add] ADD COLUMN [reservation_trans] TEXT(50);
CREATE INDEX [reservation_num] ON [Add] ([reservation_num]);

ALTER TABLE [AdvT] ADD COLUMN [reservation_num] TEXT(50);
ALTER TABLE [AdvT] ADD COLUMN [reservation_period] TEXT(50);
ALTER TABLE [AdvT] ADD COLUMN [reservation_trans] TEXT(50);
CREATE INDEX [reservation_num] ON [AdvT] ([reservation_num]);

ALTER TABLE [Land_Add] ADD COLUMN [reservation_num] TEXT(50);
ALTER TABLE [Land_Add] ADD COLUMN [reservation_period] TEXT(50);
ALTER TABLE [Land_Add] ADD COLUMN [reservation_trans] TEXT(50);
CREATE INDEX [reservation_num] ON [Land_Add] ([reservation_num]);

ALTER TABLE [Preset] ADD COLUMN [reservation_num] TEXT(50);
ALTER TABLE [Preset] ADD COLUMN [reservation_period] TEXT(50);
ALTER TABLE [Preset] ADD COLUMN [reservation_trans] TEXT(50);
CREATE INDEX [reservation_num] ON [Preset] ([reservation_num]);

ALTER TABLE [UserLabel] ADD COLUMN [reservation_num] TEXT(50);
ALTER TABLE [UserLabel] ADD COLUMN [reservation_period] TEXT(50);
ALTER TABLE [UserLabel] ADD COLUMN [reservation_trans] TEXT(50);
CREATE INDEX [reservation_num] ON [UserLabel] ([reservation_num]);

CREATE TABLE [Reservation_Table] (
  [ID] COUNTER, [reservation_num] TEXT(50), [reservation_period] TEXT(50), [mg_id] TEXT(50),
  [reservation_time] TEXT(50), [ip] TEXT(50), [reservation_kind] TEXT(50), [year] TEXT(50),
  [month] TEXT(50), [day] TEXT(50), [hour] TEXT(50), [min] TEXT(50), [reservation_trans] TEXT(50),
  [reservation_status] MEMO,
  CONSTRAINT [PrimaryKey] PRIMARY KEY ([ID]));
CREATE INDEX [ID] ON [Reservation_Table] ([ID]);
CREATE INDEX [mg_id] ON [Reservation_Table] ([mg_id]);
CREATE INDEX [reservation_num] ON [Reservation_Table] ([reservation_num]);

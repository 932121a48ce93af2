-- The structure of orders.mdb in Jet SQL, written by strux schema.
-- Jet runs one statement per Execute: each statement ends with ";" at the end of its
-- line, and no line outside a comment does. Lines starting with "--" are comments.
-- What Jet's DDL cannot say is named on a line "-- not in DDL: WHERE: WHAT".
-- not in DDL: database: collating order, code page and version are those of the database the script runs in
-- not in DDL: table Customers / field City: default value "Basel"
-- not in DDL: table Customers / field City: allow zero length Yes
-- not in DDL: table Customers / field Owner's "Code": default value "O'Brien \ Co"
-- not in DDL: table Customers / field Grade: default value "ABC"
CREATE TABLE [Customers] (
  [CustomerID] COUNTER,
  [Name] TEXT(50) NOT NULL,
  [City] TEXT(30),
  [Notes] MEMO,
  [Owner's "Code"] TEXT(20),
  [Grade] TEXT(2)
);
-- not in DDL: table Orders / field Amount: default value 0
-- not in DDL: table Orders / field Amount: validation rule >=0
-- not in DDL: table Orders / field Amount: validation text Not below zero
CREATE TABLE [Orders] (
  [OrderID] COUNTER,
  [CustomerID] LONG,
  [ShipDate] DATETIME,
  [Amount] CURRENCY,
  [Paid] BIT
);
CREATE UNIQUE INDEX [ByName] ON [Customers] ([Name], [City] DESC);
CREATE INDEX [Owner's "Code"] ON [Customers] ([Owner's "Code"]);
CREATE INDEX [PrimaryKey] ON [Customers] ([CustomerID]) WITH PRIMARY;
CREATE INDEX [PrimaryKey] ON [Orders] ([OrderID]) WITH PRIMARY;
CREATE INDEX [ShipDate] ON [Orders] ([ShipDate]);
ALTER TABLE [Orders] ADD CONSTRAINT [CustomersOrders] FOREIGN KEY ([CustomerID]) REFERENCES [Customers] ([CustomerID]) ON UPDATE CASCADE ON DELETE CASCADE;
-- not in DDL: query Big Orders: all of it (CreateQueryDef takes its SQL, below)
--   SELECT Orders.OrderID, Orders.Amount
--   FROM Orders
--   WHERE Orders.Amount > 100;
-- not in DDL: query Customer Orders: all of it (CreateQueryDef takes its SQL, below)
--   SELECT Customers.Name, [Big Orders].Amount
--   FROM Customers INNER JOIN ([Big Orders] INNER JOIN Orders ON [Big Orders].OrderID = Orders.OrderID) ON Customers.CustomerID = Orders.CustomerID;

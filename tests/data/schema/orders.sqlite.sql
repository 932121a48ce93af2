-- The structure of orders.mdb for SQLite, written by strux schema.
PRAGMA foreign_keys = ON;
-- field Customers.Grade keeps no default: "ABC"
CREATE TABLE "Customers" (
  "CustomerID" INTEGER PRIMARY KEY AUTOINCREMENT,
  "Name" VARCHAR(50) NOT NULL,
  "City" VARCHAR(30) DEFAULT 'Basel',
  "Notes" TEXT,
  "Owner's ""Code""" VARCHAR(20) DEFAULT 'O''Brien \ Co',
  "Grade" VARCHAR(2)
);
-- field Orders.Amount has the validation rule >=0, not translated
CREATE TABLE "Orders" (
  "OrderID" INTEGER PRIMARY KEY AUTOINCREMENT,
  "CustomerID" INTEGER,
  "ShipDate" DATETIME,
  "Amount" NUMERIC DEFAULT 0,
  "Paid" BOOLEAN NOT NULL DEFAULT 0,
  FOREIGN KEY ("CustomerID") REFERENCES "Customers" ("CustomerID") ON UPDATE CASCADE ON DELETE CASCADE
);
CREATE UNIQUE INDEX "Customers_ByName" ON "Customers" ("Name", "City" DESC);
CREATE INDEX "Customers_Owner's ""Code""" ON "Customers" ("Owner's ""Code""");
CREATE INDEX "Orders_ShipDate" ON "Orders" ("ShipDate");
CREATE VIEW "Big Orders" ("OrderID", "Amount") AS
SELECT "Orders"."OrderID", "Orders"."Amount"
FROM "Orders"
WHERE "Orders"."Amount" > 100;
CREATE VIEW "Customer Orders" ("Name", "Amount") AS
SELECT "Customers"."Name", "Big Orders"."Amount"
FROM "Customers" INNER JOIN ("Big Orders" INNER JOIN "Orders" ON "Big Orders"."OrderID" = "Orders"."OrderID") ON "Customers"."CustomerID" = "Orders"."CustomerID";

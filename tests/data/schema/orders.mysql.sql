-- The structure of orders.mdb for MySQL/MariaDB, written by strux schema.
SET NAMES utf8mb4;
SET FOREIGN_KEY_CHECKS = 0;
-- field Customers.Grade keeps no default: "ABC"
CREATE TABLE `Customers` (
  `CustomerID` INT AUTO_INCREMENT NOT NULL,
  `Name` VARCHAR(50) NOT NULL,
  `City` VARCHAR(30) DEFAULT 'Basel',
  `Notes` LONGTEXT,
  `Owner's "Code"` VARCHAR(20) DEFAULT 'O''Brien \\ Co',
  `Grade` VARCHAR(2),
  PRIMARY KEY (`CustomerID`),
  UNIQUE KEY `ByName` (`Name`, `City` DESC),
  KEY `Owner's "Code"` (`Owner's "Code"`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
-- field Orders.Amount has the validation rule >=0, not translated
CREATE TABLE `Orders` (
  `OrderID` INT AUTO_INCREMENT NOT NULL,
  `CustomerID` INT,
  `ShipDate` DATETIME,
  `Amount` DECIMAL(19,4) DEFAULT 0,
  `Paid` BOOLEAN NOT NULL DEFAULT FALSE,
  PRIMARY KEY (`OrderID`),
  KEY `ShipDate` (`ShipDate`),
  CONSTRAINT `CustomersOrders` FOREIGN KEY (`CustomerID`) REFERENCES `Customers` (`CustomerID`) ON UPDATE CASCADE ON DELETE CASCADE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;
SET FOREIGN_KEY_CHECKS = 1;
CREATE VIEW `Big Orders` (`OrderID`, `Amount`) AS
SELECT `Orders`.`OrderID`, `Orders`.`Amount`
FROM `Orders`
WHERE `Orders`.`Amount` > 100;
CREATE VIEW `Customer Orders` (`Name`, `Amount`) AS
SELECT `Customers`.`Name`, `Big Orders`.`Amount`
FROM `Customers` INNER JOIN (`Big Orders` INNER JOIN `Orders` ON `Big Orders`.`OrderID` = `Orders`.`OrderID`) ON `Customers`.`CustomerID` = `Orders`.`CustomerID`;

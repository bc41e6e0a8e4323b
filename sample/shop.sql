-- Qelvo's sample database: a small shop. Every row is written here or derived from these rows
-- by fixed arithmetic, so the file comes out the same on every build.
PRAGMA foreign_keys = ON;

CREATE TABLE Categories (
  CategoryID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name VARCHAR(40) NOT NULL,
  Description TEXT
);

CREATE TABLE Customers (
  CustomerID INTEGER PRIMARY KEY AUTOINCREMENT,
  Name VARCHAR(60) NOT NULL,
  City VARCHAR(40),
  Email VARCHAR(80),
  Notes TEXT,
  Since DATE,
  Active BOOLEAN NOT NULL DEFAULT 1,
  CreditLimit DECIMAL(10,2)
);

CREATE TABLE Products (
  ProductID INTEGER PRIMARY KEY AUTOINCREMENT,
  CategoryID INTEGER REFERENCES Categories(CategoryID),
  Name VARCHAR(60) NOT NULL,
  UnitPrice DECIMAL(10,2) NOT NULL,
  Weight REAL,
  InStock INTEGER NOT NULL DEFAULT 0,
  Discontinued BOOLEAN NOT NULL DEFAULT 0,
  Picture BLOB
);

CREATE TABLE Orders (
  OrderID INTEGER PRIMARY KEY AUTOINCREMENT,
  CustomerID INTEGER NOT NULL REFERENCES Customers(CustomerID),
  OrderDate DATETIME NOT NULL,
  ShippedDate DATE,
  ShipCity VARCHAR(40),
  Freight MONEY
);

CREATE TABLE "Order Details" (
  OrderID INTEGER NOT NULL REFERENCES Orders(OrderID),
  ProductID INTEGER NOT NULL REFERENCES Products(ProductID),
  Quantity SMALLINT NOT NULL,
  UnitPrice DECIMAL(10,2) NOT NULL,
  Discount REAL NOT NULL DEFAULT 0,
  PRIMARY KEY (OrderID, ProductID)
);

-- A table without a key: rows are found by all their values.
CREATE TABLE Notes (
  Author VARCHAR(40),
  Written DATETIME,
  Body TEXT
);

INSERT INTO Categories (Name, Description) VALUES
  ('Beverages', 'Coffee, tea; and juices'),
  ('Bakery', 'Bread, cakes and "specials"'),
  ('Dairy', 'Milk, cheese, butter'),
  ('Produce', NULL),
  ('Pantry', 'Oils; vinegars; spices' || char(13) || char(10) || 'and dry goods');

INSERT INTO Customers (Name, City, Email, Notes, Since, Active, CreditLimit) VALUES
  ('O''Brien & Sons', 'Dublin', 'orders@obrien.example', 'Pays on time', '2003-02-01', 1, 1500.00),
  ('Müller Feinkost', 'München', 'info@mueller.example', 'Liefert nur dienstags', '2003-02-03', 1, 2500.50),
  ('Rossi, Bianchi e C.', 'Milano', NULL, 'Two lines:' || char(10) || 'second line', '2003-02-05', 1, 999.99),
  ('"Quoted" Corner Shop', 'London', 'shop@corner.example', 'Says "hello"; likes semicolons;', '2004-07-14', 0, NULL),
  ('Ålesund Fisk', 'Ålesund', 'fisk@alesund.example', NULL, '2005-11-30', 1, 12000.00),
  ('Dupont SARL', 'Paris', 'contact@dupont.example', 'Tab	inside', NULL, 1, 0.00),
  ('García Hermanos', 'Sevilla', 'ventas@garcia.example', 'Back\slash in notes', '2010-01-01', 1, 750.25),
  ('Nakamura Trading', 'Osaka', 'nakamura@example.jp', '日本語のメモ', '2012-06-15', 1, 30000.00),
  ('Smith, John', 'Leeds', 'john@smith.example', 'Comma, in, name', '2015-03-03', 0, 100.00),
  ('Zed''s Deli', 'Zürich', NULL, NULL, '2020-02-29', 1, 450.75);

INSERT INTO Products (CategoryID, Name, UnitPrice, Weight, InStock, Discontinued, Picture) VALUES
  (1, 'Espresso beans 1kg', 18.50, 1.0, 120, 0, X'89504E470D0A1A0A0000000D49484452'),
  (1, 'Green tea, loose', 7.25, 0.25, 80, 0, NULL),
  (1, 'Orange juice 1l', 2.99, 1.05, 300, 0, NULL),
  (2, 'Sourdough loaf', 4.10, 0.8, 25, 0, NULL),
  (2, 'Cheesecake "New York"', 22.00, 1.2, 6, 0, X'00FF00FF0000'),
  (3, 'Whole milk 1l', 1.15, 1.03, 500, 0, NULL),
  (3, 'Parmigiano 24 months', 34.90, 1.0, 15, 0, NULL),
  (3, 'Salted butter', 2.45, 0.25, 0, 1, NULL),
  (4, 'Apples; Gala', 3.20, 1.0, 200, 0, NULL),
  (4, 'Bananas', 1.99, 1.0, 180, 0, NULL),
  (5, 'Olive oil 0.75l', 9.80, 0.9, 60, 0, NULL),
  (5, 'Balsamic vinegar', 12.40, 0.5, 35, 0, NULL),
  (5, 'Sea salt', 0.99, 0.5, 400, 0, NULL),
  (5, 'Saffron 1g', 8.75, 0.001, 12, 0, NULL),
  (1, 'Decaf beans 1kg', 19.90, 1.0, 0, 1, NULL);

-- Thirty orders spread over 2003 and 2004, with fixed customers, dates and freights.
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30)
INSERT INTO Orders (CustomerID, OrderDate, ShippedDate, ShipCity, Freight)
SELECT 1 + (i * 7) % 10,
       strftime('%Y-%m-%d %H:%M:%S', '2003-02-01 09:30:00', '+' || ((i * 13) % 400) || ' days', '+' || (i * 37 % 600) || ' minutes'),
       CASE WHEN i % 6 = 0 THEN NULL ELSE date('2003-02-01', '+' || ((i * 13) % 400 + 2) || ' days') END,
       (SELECT City FROM Customers WHERE CustomerID = 1 + (i * 7) % 10),
       round(5 + (i * 3.17) % 40, 2)
FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60)
INSERT INTO "Order Details" (OrderID, ProductID, Quantity, UnitPrice, Discount)
SELECT 1 + (i - 1) / 2,
       1 + ((i * 5) + (i - 1) / 2) % 15,
       1 + (i * 11) % 24,
       (SELECT UnitPrice FROM Products WHERE ProductID = 1 + ((i * 5) + (i - 1) / 2) % 15),
       CASE WHEN i % 5 = 0 THEN 0.1 ELSE 0 END
FROM n;

INSERT INTO Notes (Author, Written, Body) VALUES
  ('Anna', '2003-02-01 10:00:00', 'Opened the shop.'),
  ('Anna', '2003-02-01 10:00:00', 'Opened the shop.'),
  ('Ben', '2004-12-24 18:30:00', NULL);

CREATE VIEW "Order Totals" AS
SELECT o.OrderID, c.Name AS Customer, o.OrderDate,
       round(sum(d.Quantity * d.UnitPrice * (1 - d.Discount)), 2) AS Total
FROM Orders o
JOIN Customers c ON c.CustomerID = o.CustomerID
JOIN "Order Details" d ON d.OrderID = o.OrderID
GROUP BY o.OrderID, c.Name, o.OrderDate;

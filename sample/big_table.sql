-- The 1,000,000-row table the benchmarks read: eight columns of the common kinds.
DROP TABLE IF EXISTS BigTable;
CREATE TABLE BigTable (
  ID INTEGER PRIMARY KEY,
  Name VARCHAR(40) NOT NULL,
  City VARCHAR(30),
  Qty INTEGER NOT NULL,
  Price DECIMAL(10,2),
  Ratio REAL,
  Created DATETIME,
  Active BOOLEAN
);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000)
INSERT INTO BigTable
SELECT i,
       'Customer ' || ((i * 7919) % 1000003),
       CASE i % 7 WHEN 0 THEN 'Dublin' WHEN 1 THEN 'Milano' WHEN 2 THEN 'Paris' WHEN 3 THEN 'London'
                  WHEN 4 THEN 'Osaka' WHEN 5 THEN NULL ELSE 'Zürich' END,
       (i * 31) % 5000,
       ((i * 17) % 100000) / 100.0,
       (i % 1000) / 7.0,
       strftime('%Y-%m-%d %H:%M:%S', '2003-01-01', '+' || (i % 7000) || ' days', '+' || (i % 86400) || ' seconds'),
       i % 3 <> 0
FROM n;

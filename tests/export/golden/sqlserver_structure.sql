if exists (select * from sysobjects where id = object_id(N'[dbo].[Categories]') and OBJECTPROPERTY(id, N'IsUserTable') = 1)
drop table [dbo].[Categories]
;

CREATE TABLE [dbo].[Categories] (
	[CategoryID] [int] IDENTITY (1, 1) NOT NULL ,
	[Name] [nvarchar] (40) NOT NULL ,
	[Description] [ntext] NULL ,
) ON [PRIMARY]
;

ALTER TABLE [dbo].[Categories] WITH NOCHECK ADD
	CONSTRAINT [PK_Categories] PRIMARY KEY  NONCLUSTERED
	(
		[CategoryID]
	)  ON [PRIMARY]
;


if exists (select * from sysobjects where id = object_id(N'[dbo].[Customers]') and OBJECTPROPERTY(id, N'IsUserTable') = 1)
drop table [dbo].[Customers]
;

CREATE TABLE [dbo].[Customers] (
	[CustomerID] [int] IDENTITY (1, 1) NOT NULL ,
	[Name] [nvarchar] (60) NOT NULL ,
	[City] [nvarchar] (40) NULL ,
	[Email] [nvarchar] (80) NULL ,
	[Notes] [ntext] NULL ,
	[Since] [datetime] NULL ,
	[Active] [tinyint] NOT NULL ,
	[CreditLimit] [numeric] (10, 2) NULL ,
) ON [PRIMARY]
;

ALTER TABLE [dbo].[Customers] WITH NOCHECK ADD
	CONSTRAINT [DF_Customers_CreditLimit] DEFAULT (0) FOR [CreditLimit],
	CONSTRAINT [PK_Customers] PRIMARY KEY  NONCLUSTERED
	(
		[CustomerID]
	)  ON [PRIMARY]
;


if exists (select * from sysobjects where id = object_id(N'[dbo].[Products]') and OBJECTPROPERTY(id, N'IsUserTable') = 1)
drop table [dbo].[Products]
;

CREATE TABLE [dbo].[Products] (
	[ProductID] [int] IDENTITY (1, 1) NOT NULL ,
	[CategoryID] [int] NULL ,
	[Name] [nvarchar] (60) NOT NULL ,
	[UnitPrice] [numeric] (10, 2) NOT NULL ,
	[Weight] [float] NULL ,
	[InStock] [int] NOT NULL ,
	[Discontinued] [tinyint] NOT NULL ,
	[Picture] [varbinary] (max) NULL ,
) ON [PRIMARY]
;

ALTER TABLE [dbo].[Products] WITH NOCHECK ADD
	CONSTRAINT [DF_Products_CategoryID] DEFAULT (0) FOR [CategoryID],
	CONSTRAINT [DF_Products_UnitPrice] DEFAULT (0) FOR [UnitPrice],
	CONSTRAINT [DF_Products_Weight] DEFAULT (0) FOR [Weight],
	CONSTRAINT [DF_Products_InStock] DEFAULT (0) FOR [InStock],
	CONSTRAINT [PK_Products] PRIMARY KEY  NONCLUSTERED
	(
		[ProductID]
	)  ON [PRIMARY]
;


if exists (select * from sysobjects where id = object_id(N'[dbo].[Orders]') and OBJECTPROPERTY(id, N'IsUserTable') = 1)
drop table [dbo].[Orders]
;

CREATE TABLE [dbo].[Orders] (
	[OrderID] [int] IDENTITY (1, 1) NOT NULL ,
	[CustomerID] [int] NOT NULL ,
	[OrderDate] [datetime] NOT NULL ,
	[ShippedDate] [datetime] NULL ,
	[ShipCity] [nvarchar] (40) NULL ,
	[Freight] [money] NULL ,
) ON [PRIMARY]
;

ALTER TABLE [dbo].[Orders] WITH NOCHECK ADD
	CONSTRAINT [DF_Orders_CustomerID] DEFAULT (0) FOR [CustomerID],
	CONSTRAINT [PK_Orders] PRIMARY KEY  NONCLUSTERED
	(
		[OrderID]
	)  ON [PRIMARY]
;


if exists (select * from sysobjects where id = object_id(N'[dbo].[Order Details]') and OBJECTPROPERTY(id, N'IsUserTable') = 1)
drop table [dbo].[Order Details]
;

CREATE TABLE [dbo].[Order Details] (
	[OrderID] [int] NOT NULL ,
	[ProductID] [int] NOT NULL ,
	[Quantity] [smallint] NOT NULL ,
	[UnitPrice] [numeric] (10, 2) NOT NULL ,
	[Discount] [float] NOT NULL ,
) ON [PRIMARY]
;

ALTER TABLE [dbo].[Order Details] WITH NOCHECK ADD
	CONSTRAINT [DF_Order Details_OrderID] DEFAULT (0) FOR [OrderID],
	CONSTRAINT [DF_Order Details_ProductID] DEFAULT (0) FOR [ProductID],
	CONSTRAINT [DF_Order Details_Quantity] DEFAULT (0) FOR [Quantity],
	CONSTRAINT [DF_Order Details_UnitPrice] DEFAULT (0) FOR [UnitPrice],
	CONSTRAINT [DF_Order Details_Discount] DEFAULT (0) FOR [Discount],
	CONSTRAINT [PK_Order Details] PRIMARY KEY  NONCLUSTERED
	(
		[OrderID],
		[ProductID]
	)  ON [PRIMARY]
;


if exists (select * from sysobjects where id = object_id(N'[dbo].[Notes]') and OBJECTPROPERTY(id, N'IsUserTable') = 1)
drop table [dbo].[Notes]
;

CREATE TABLE [dbo].[Notes] (
	[Author] [nvarchar] (40) NULL ,
	[Written] [datetime] NULL ,
	[Body] [ntext] NULL ,
) ON [PRIMARY]
;


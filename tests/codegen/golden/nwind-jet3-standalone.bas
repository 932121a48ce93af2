Dim DB as Database
Dim tdfNew as TableDef
Dim idxNew as Index
Dim idxNewField as Field
Dim qdfNew as QueryDef
Dim relNew as Relation

Sub Main()
'VBStructure from STRUX32.
'Visual Basic 5.x version - Stand alone style
'
'You are free to use and modify this code as you wish and to distribute it
'in your applications.
'
'Don't forget to add the Microsoft DAO 3.5 Object Library to your project
'  -   Go to Project, References... and click on the check box, then click OK
'
'Code created 1/2/2003 4:05:06 PM
'
Call CreateBase
End Sub

Public Sub CreateBase()
On Error Goto BadBase
Set DB = CreateDatabase("C:\Data\Nwind.mdb", dbLangGeneral)
On Error Goto 0
'Create the tables
Call CreateBaseTables
'Create the Indexes
Call CreateBaseIndexes
'Create any queries
Call CreateQueries
'Create any Relations
Call CreateRelations
Msgbox "Database created.", vbInformation
End

BadBase:
MsgBox "Failed to create database. Error " & Err, vbCritical
End
End Sub

Public Sub CreateBaseTables()
Set tdfNew = DB.CreateTableDef("Categories")
With tdfNew
    .Fields.Append .CreateField("CategoryID", 4)
    .Fields("CategoryID").Required = False
    .Fields("CategoryID").AllowZeroLength = False
    .Fields("CategoryID").Attributes = 17
    .Fields.Append .CreateField("CategoryName", 10, 15)
    .Fields("CategoryName").Required = True
    .Fields("CategoryName").AllowZeroLength = False
    .Fields("CategoryName").Attributes = 2
    .Fields.Append .CreateField("Description", 12)
    .Fields("Description").Required = False
    .Fields("Description").AllowZeroLength = False
    .Fields("Description").Attributes = 2
    .Fields.Append .CreateField("Picture", 11)
    .Fields("Picture").Required = False
    .Fields("Picture").AllowZeroLength = False
    .Fields("Picture").Attributes = 2
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Customers")
With tdfNew
    .Fields.Append .CreateField("CustomerID", 10, 5)
    .Fields("CustomerID").Required = False
    .Fields("CustomerID").AllowZeroLength = False
    .Fields("CustomerID").Attributes = 2
    .Fields.Append .CreateField("CompanyName", 10, 40)
    .Fields("CompanyName").Required = True
    .Fields("CompanyName").AllowZeroLength = False
    .Fields("CompanyName").Attributes = 2
    .Fields.Append .CreateField("ContactName", 10, 30)
    .Fields("ContactName").Required = False
    .Fields("ContactName").AllowZeroLength = False
    .Fields("ContactName").Attributes = 2
    .Fields.Append .CreateField("ContactTitle", 10, 30)
    .Fields("ContactTitle").Required = False
    .Fields("ContactTitle").AllowZeroLength = False
    .Fields("ContactTitle").Attributes = 2
    .Fields.Append .CreateField("Address", 10, 60)
    .Fields("Address").Required = False
    .Fields("Address").AllowZeroLength = False
    .Fields("Address").Attributes = 2
    .Fields.Append .CreateField("City", 10, 15)
    .Fields("City").Required = False
    .Fields("City").AllowZeroLength = False
    .Fields("City").Attributes = 2
    .Fields.Append .CreateField("Region", 10, 15)
    .Fields("Region").Required = False
    .Fields("Region").AllowZeroLength = False
    .Fields("Region").Attributes = 2
    .Fields.Append .CreateField("PostalCode", 10, 10)
    .Fields("PostalCode").Required = False
    .Fields("PostalCode").AllowZeroLength = False
    .Fields("PostalCode").Attributes = 2
    .Fields.Append .CreateField("Country", 10, 15)
    .Fields("Country").Required = False
    .Fields("Country").AllowZeroLength = False
    .Fields("Country").Attributes = 2
    .Fields.Append .CreateField("Phone", 10, 24)
    .Fields("Phone").Required = False
    .Fields("Phone").AllowZeroLength = False
    .Fields("Phone").Attributes = 2
    .Fields.Append .CreateField("Fax", 10, 24)
    .Fields("Fax").Required = False
    .Fields("Fax").AllowZeroLength = False
    .Fields("Fax").Attributes = 2
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Employees")
With tdfNew
    .Fields.Append .CreateField("EmployeeID", 4)
    .Fields("EmployeeID").Required = False
    .Fields("EmployeeID").AllowZeroLength = False
    .Fields("EmployeeID").Attributes = 17
    .Fields.Append .CreateField("LastName", 10, 20)
    .Fields("LastName").Required = True
    .Fields("LastName").AllowZeroLength = False
    .Fields("LastName").Attributes = 2
    .Fields.Append .CreateField("FirstName", 10, 10)
    .Fields("FirstName").Required = True
    .Fields("FirstName").AllowZeroLength = False
    .Fields("FirstName").Attributes = 2
    .Fields.Append .CreateField("Title", 10, 30)
    .Fields("Title").Required = False
    .Fields("Title").AllowZeroLength = False
    .Fields("Title").Attributes = 2
    .Fields.Append .CreateField("TitleOfCourtesy", 10, 25)
    .Fields("TitleOfCourtesy").Required = False
    .Fields("TitleOfCourtesy").AllowZeroLength = False
    .Fields("TitleOfCourtesy").Attributes = 2
    .Fields.Append .CreateField("BirthDate", 8)
    .Fields("BirthDate").Required = False
    .Fields("BirthDate").AllowZeroLength = False
    .Fields("BirthDate").Attributes = 1
    .Fields.Append .CreateField("HireDate", 8)
    .Fields("HireDate").Required = False
    .Fields("HireDate").AllowZeroLength = False
    .Fields("HireDate").Attributes = 1
    .Fields.Append .CreateField("Address", 10, 60)
    .Fields("Address").Required = False
    .Fields("Address").AllowZeroLength = False
    .Fields("Address").Attributes = 2
    .Fields.Append .CreateField("City", 10, 15)
    .Fields("City").Required = False
    .Fields("City").AllowZeroLength = False
    .Fields("City").Attributes = 2
    .Fields.Append .CreateField("Region", 10, 15)
    .Fields("Region").Required = False
    .Fields("Region").AllowZeroLength = False
    .Fields("Region").Attributes = 2
    .Fields.Append .CreateField("PostalCode", 10, 10)
    .Fields("PostalCode").Required = False
    .Fields("PostalCode").AllowZeroLength = False
    .Fields("PostalCode").Attributes = 2
    .Fields.Append .CreateField("Country", 10, 15)
    .Fields("Country").Required = False
    .Fields("Country").AllowZeroLength = False
    .Fields("Country").Attributes = 2
    .Fields.Append .CreateField("HomePhone", 10, 24)
    .Fields("HomePhone").Required = False
    .Fields("HomePhone").AllowZeroLength = False
    .Fields("HomePhone").Attributes = 2
    .Fields.Append .CreateField("Extension", 10, 4)
    .Fields("Extension").Required = False
    .Fields("Extension").AllowZeroLength = False
    .Fields("Extension").Attributes = 2
    .Fields.Append .CreateField("Photo", 11)
    .Fields("Photo").Required = False
    .Fields("Photo").AllowZeroLength = False
    .Fields("Photo").Attributes = 2
    .Fields.Append .CreateField("Notes", 12)
    .Fields("Notes").Required = False
    .Fields("Notes").AllowZeroLength = False
    .Fields("Notes").Attributes = 2
    .Fields.Append .CreateField("ReportsTo", 4)
    .Fields("ReportsTo").Required = False
    .Fields("ReportsTo").AllowZeroLength = False
    .Fields("ReportsTo").Attributes = 1
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Order Details")
With tdfNew
    .Fields.Append .CreateField("OrderID", 4)
    .Fields("OrderID").Required = False
    .Fields("OrderID").AllowZeroLength = False
    .Fields("OrderID").Attributes = 1
    .Fields.Append .CreateField("ProductID", 4)
    .Fields("ProductID").Required = True
    .Fields("ProductID").AllowZeroLength = False
    .Fields("ProductID").Attributes = 1
    .Fields.Append .CreateField("UnitPrice", 5)
    .Fields("UnitPrice").Required = True
    .Fields("UnitPrice").AllowZeroLength = False
    .Fields("UnitPrice").Attributes = 1
    .Fields.Append .CreateField("Quantity", 3)
    .Fields("Quantity").Required = True
    .Fields("Quantity").AllowZeroLength = False
    .Fields("Quantity").Attributes = 1
    .Fields.Append .CreateField("Discount", 6)
    .Fields("Discount").Required = True
    .Fields("Discount").AllowZeroLength = False
    .Fields("Discount").Attributes = 1
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Orders")
With tdfNew
    .Fields.Append .CreateField("OrderID", 4)
    .Fields("OrderID").Required = False
    .Fields("OrderID").AllowZeroLength = False
    .Fields("OrderID").Attributes = 17
    .Fields.Append .CreateField("CustomerID", 10, 5)
    .Fields("CustomerID").Required = False
    .Fields("CustomerID").AllowZeroLength = False
    .Fields("CustomerID").Attributes = 2
    .Fields.Append .CreateField("EmployeeID", 4)
    .Fields("EmployeeID").Required = False
    .Fields("EmployeeID").AllowZeroLength = False
    .Fields("EmployeeID").Attributes = 1
    .Fields.Append .CreateField("OrderDate", 8)
    .Fields("OrderDate").Required = False
    .Fields("OrderDate").AllowZeroLength = False
    .Fields("OrderDate").Attributes = 1
    .Fields.Append .CreateField("RequiredDate", 8)
    .Fields("RequiredDate").Required = False
    .Fields("RequiredDate").AllowZeroLength = False
    .Fields("RequiredDate").Attributes = 1
    .Fields.Append .CreateField("ShippedDate", 8)
    .Fields("ShippedDate").Required = False
    .Fields("ShippedDate").AllowZeroLength = False
    .Fields("ShippedDate").Attributes = 1
    .Fields.Append .CreateField("ShipVia", 4)
    .Fields("ShipVia").Required = False
    .Fields("ShipVia").AllowZeroLength = False
    .Fields("ShipVia").Attributes = 1
    .Fields.Append .CreateField("Freight", 5)
    .Fields("Freight").Required = False
    .Fields("Freight").AllowZeroLength = False
    .Fields("Freight").Attributes = 1
    .Fields.Append .CreateField("ShipName", 10, 40)
    .Fields("ShipName").Required = False
    .Fields("ShipName").AllowZeroLength = False
    .Fields("ShipName").Attributes = 2
    .Fields.Append .CreateField("ShipAddress", 10, 60)
    .Fields("ShipAddress").Required = False
    .Fields("ShipAddress").AllowZeroLength = False
    .Fields("ShipAddress").Attributes = 2
    .Fields.Append .CreateField("ShipCity", 10, 15)
    .Fields("ShipCity").Required = False
    .Fields("ShipCity").AllowZeroLength = False
    .Fields("ShipCity").Attributes = 2
    .Fields.Append .CreateField("ShipRegion", 10, 15)
    .Fields("ShipRegion").Required = False
    .Fields("ShipRegion").AllowZeroLength = False
    .Fields("ShipRegion").Attributes = 2
    .Fields.Append .CreateField("ShipPostalCode", 10, 10)
    .Fields("ShipPostalCode").Required = False
    .Fields("ShipPostalCode").AllowZeroLength = False
    .Fields("ShipPostalCode").Attributes = 2
    .Fields.Append .CreateField("ShipCountry", 10, 15)
    .Fields("ShipCountry").Required = False
    .Fields("ShipCountry").AllowZeroLength = False
    .Fields("ShipCountry").Attributes = 2
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Products")
With tdfNew
    .Fields.Append .CreateField("ProductID", 4)
    .Fields("ProductID").Required = False
    .Fields("ProductID").AllowZeroLength = False
    .Fields("ProductID").Attributes = 17
    .Fields.Append .CreateField("ProductName", 10, 40)
    .Fields("ProductName").Required = True
    .Fields("ProductName").AllowZeroLength = False
    .Fields("ProductName").Attributes = 2
    .Fields.Append .CreateField("SupplierID", 4)
    .Fields("SupplierID").Required = False
    .Fields("SupplierID").AllowZeroLength = False
    .Fields("SupplierID").Attributes = 1
    .Fields.Append .CreateField("CategoryID", 4)
    .Fields("CategoryID").Required = False
    .Fields("CategoryID").AllowZeroLength = False
    .Fields("CategoryID").Attributes = 1
    .Fields.Append .CreateField("QuantityPerUnit", 10, 20)
    .Fields("QuantityPerUnit").Required = False
    .Fields("QuantityPerUnit").AllowZeroLength = False
    .Fields("QuantityPerUnit").Attributes = 2
    .Fields.Append .CreateField("UnitPrice", 5)
    .Fields("UnitPrice").Required = False
    .Fields("UnitPrice").AllowZeroLength = False
    .Fields("UnitPrice").Attributes = 1
    .Fields.Append .CreateField("UnitsInStock", 3)
    .Fields("UnitsInStock").Required = False
    .Fields("UnitsInStock").AllowZeroLength = False
    .Fields("UnitsInStock").Attributes = 1
    .Fields.Append .CreateField("UnitsOnOrder", 3)
    .Fields("UnitsOnOrder").Required = False
    .Fields("UnitsOnOrder").AllowZeroLength = False
    .Fields("UnitsOnOrder").Attributes = 1
    .Fields.Append .CreateField("ReorderLevel", 3)
    .Fields("ReorderLevel").Required = False
    .Fields("ReorderLevel").AllowZeroLength = False
    .Fields("ReorderLevel").Attributes = 1
    .Fields.Append .CreateField("Discontinued", 1)
    .Fields("Discontinued").Required = False
    .Fields("Discontinued").AllowZeroLength = False
    .Fields("Discontinued").Attributes = 1
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Shippers")
With tdfNew
    .Fields.Append .CreateField("ShipperID", 4)
    .Fields("ShipperID").Required = False
    .Fields("ShipperID").AllowZeroLength = False
    .Fields("ShipperID").Attributes = 17
    .Fields.Append .CreateField("CompanyName", 10, 40)
    .Fields("CompanyName").Required = True
    .Fields("CompanyName").AllowZeroLength = False
    .Fields("CompanyName").Attributes = 2
    .Fields.Append .CreateField("Phone", 10, 24)
    .Fields("Phone").Required = False
    .Fields("Phone").AllowZeroLength = False
    .Fields("Phone").Attributes = 2
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Suppliers")
With tdfNew
    .Fields.Append .CreateField("SupplierID", 4)
    .Fields("SupplierID").Required = False
    .Fields("SupplierID").AllowZeroLength = False
    .Fields("SupplierID").Attributes = 17
    .Fields.Append .CreateField("CompanyName", 10, 40)
    .Fields("CompanyName").Required = True
    .Fields("CompanyName").AllowZeroLength = False
    .Fields("CompanyName").Attributes = 2
    .Fields.Append .CreateField("ContactName", 10, 30)
    .Fields("ContactName").Required = False
    .Fields("ContactName").AllowZeroLength = False
    .Fields("ContactName").Attributes = 2
    .Fields.Append .CreateField("ContactTitle", 10, 30)
    .Fields("ContactTitle").Required = False
    .Fields("ContactTitle").AllowZeroLength = False
    .Fields("ContactTitle").Attributes = 2
    .Fields.Append .CreateField("Address", 10, 60)
    .Fields("Address").Required = False
    .Fields("Address").AllowZeroLength = False
    .Fields("Address").Attributes = 2
    .Fields.Append .CreateField("City", 10, 15)
    .Fields("City").Required = False
    .Fields("City").AllowZeroLength = False
    .Fields("City").Attributes = 2
    .Fields.Append .CreateField("Region", 10, 15)
    .Fields("Region").Required = False
    .Fields("Region").AllowZeroLength = False
    .Fields("Region").Attributes = 2
    .Fields.Append .CreateField("PostalCode", 10, 10)
    .Fields("PostalCode").Required = False
    .Fields("PostalCode").AllowZeroLength = False
    .Fields("PostalCode").Attributes = 2
    .Fields.Append .CreateField("Country", 10, 15)
    .Fields("Country").Required = False
    .Fields("Country").AllowZeroLength = False
    .Fields("Country").Attributes = 2
    .Fields.Append .CreateField("Phone", 10, 24)
    .Fields("Phone").Required = False
    .Fields("Phone").AllowZeroLength = False
    .Fields("Phone").Attributes = 2
    .Fields.Append .CreateField("Fax", 10, 24)
    .Fields("Fax").Required = False
    .Fields("Fax").AllowZeroLength = False
    .Fields("Fax").Attributes = 2
    .Fields.Append .CreateField("HomePage", 12)
    .Fields("HomePage").Required = False
    .Fields("HomePage").AllowZeroLength = False
    .Fields("HomePage").Attributes = 32770
    DB.TableDefs.Append tdfNew
End With
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateBaseIndexes()
Set tdfNew = DB![Categories]
With tdfNew
    Set idxNew = .CreateIndex("CategoryName")
    With idxNew
        Set idxNewField = .CreateField ("CategoryName")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  True
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Categories]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("CategoryID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Customers]
With tdfNew
    Set idxNew = .CreateIndex("City")
    With idxNew
        Set idxNewField = .CreateField ("City")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Customers]
With tdfNew
    Set idxNew = .CreateIndex("CompanyName")
    With idxNew
        Set idxNewField = .CreateField ("CompanyName")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Customers]
With tdfNew
    Set idxNew = .CreateIndex("PostalCode")
    With idxNew
        Set idxNewField = .CreateField ("PostalCode")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Customers]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("CustomerID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Customers]
With tdfNew
    Set idxNew = .CreateIndex("Region")
    With idxNew
        Set idxNewField = .CreateField ("Region")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Employees]
With tdfNew
    Set idxNew = .CreateIndex("LastName")
    With idxNew
        Set idxNewField = .CreateField ("LastName")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Employees]
With tdfNew
    Set idxNew = .CreateIndex("PostalCode")
    With idxNew
        Set idxNewField = .CreateField ("PostalCode")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Employees]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("EmployeeID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Order Details]
With tdfNew
    Set idxNew = .CreateIndex("OrderID")
    With idxNew
        Set idxNewField = .CreateField ("OrderID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Order Details]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("OrderID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        Set idxNewField = .CreateField ("ProductID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Order Details]
With tdfNew
    Set idxNew = .CreateIndex("ProductID")
    With idxNew
        Set idxNewField = .CreateField ("ProductID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Orders]
With tdfNew
    Set idxNew = .CreateIndex("CustomerID")
    With idxNew
        Set idxNewField = .CreateField ("CustomerID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Orders]
With tdfNew
    Set idxNew = .CreateIndex("EmployeeID")
    With idxNew
        Set idxNewField = .CreateField ("EmployeeID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Orders]
With tdfNew
    Set idxNew = .CreateIndex("OrderDate")
    With idxNew
        Set idxNewField = .CreateField ("OrderDate")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Orders]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("OrderID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Orders]
With tdfNew
    Set idxNew = .CreateIndex("ShippedDate")
    With idxNew
        Set idxNewField = .CreateField ("ShippedDate")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Orders]
With tdfNew
    Set idxNew = .CreateIndex("ShipPostalCode")
    With idxNew
        Set idxNewField = .CreateField ("ShipPostalCode")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Products]
With tdfNew
    Set idxNew = .CreateIndex("CategoryID")
    With idxNew
        Set idxNewField = .CreateField ("CategoryID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Products]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("ProductID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Products]
With tdfNew
    Set idxNew = .CreateIndex("ProductName")
    With idxNew
        Set idxNewField = .CreateField ("ProductName")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Products]
With tdfNew
    Set idxNew = .CreateIndex("SupplierID")
    With idxNew
        Set idxNewField = .CreateField ("SupplierID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Shippers]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("ShipperID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Suppliers]
With tdfNew
    Set idxNew = .CreateIndex("CompanyName")
    With idxNew
        Set idxNewField = .CreateField ("CompanyName")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Suppliers]
With tdfNew
    Set idxNew = .CreateIndex("PostalCode")
    With idxNew
        Set idxNewField = .CreateField ("PostalCode")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  False
        .Unique =  False
        .Required =  False
    End With
    .Indexes.Append idxNew
End With
'
Set tdfNew = DB![Suppliers]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("SupplierID")
        With idxNewField
            .Attributes = 0
        End With
        .Fields.Append idxNewField
        .Primary =  True
        .Unique =  True
        .Required =  True
    End With
    .Indexes.Append idxNew
End With
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateQueries()
Set qdfNew = DB.CreateQueryDef("Alphabetical List of Products", "SELECT DISTINCTROW Products.*, Categories.CategoryName FROM Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID WHERE (((Products.Discontinued)=No));")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Catalog", "SELECT DISTINCTROW Categories.CategoryName, Categories.Description, Categories.Picture, Products.ProductID, Products.ProductName, Products.QuantityPerUnit, Products.UnitPrice FROM Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID WHERE (((Products.Discontinued)=No));")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Category Sales for 1995", "SELECT DISTINCTROW [Product Sales for 1995].CategoryName, Sum([Product Sales for 1995].ProductSales) AS CategorySales FROM [Product Sales for 1995] GROUP BY [Product Sales for 1995].CategoryName;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Current Product List", "SELECT [Product List].ProductID, [Product List].ProductName FROM Products AS [Product List] WHERE ((([Product List].Discontinued)=No)) ORDER BY [Product List].ProductName;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Customers and Suppliers by City", "SELECT City, CompanyName, ContactName, ""Customers"" AS [Relationship]  FROM Customers UNION SELECT City, CompanyName, ContactName, ""Suppliers"" FROM Suppliers ORDER BY City, CompanyName;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Employee Sales by Country", "PARAMETERS [Beginning Date] DateTime, [Ending Date] DateTime; SELECT DISTINCTROW Employees.Country, Employees.LastName, Employees.FirstName, Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal AS SaleAmount FROM Employees INNER JOIN (Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID) ON Employees.EmployeeID = Orders.EmployeeID WHERE (((Orders.ShippedDate) Between [Beginning Date] And [Ending Date]));")
'Named query is automatically appended to the queries collection
'
Dim sSQL As String
sSQL = "SELECT DISTINCTROW Orders.ShipName, Orders.ShipAddress, Orders.ShipCity, Orders.ShipRegion, Orders.ShipPostalCode, Orders.ShipCountry, Orders.CustomerID, Customers.CompanyName, Customers.Address, Customers.City, Customers.Region, Customers.PostalCode, Customers.Country, [FirstName] & "" "" & [LastName] AS Salesperson, Orders.OrderID, Orders.OrderDate, Orders.RequiredDate, Orders.ShippedDate, Shippers.CompanyName, [Order Details].ProductID, Products.ProductName, [Order Details].UnitPrice, [Order Details].Quantity, [Order Details].Discount, CCur([Order Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100 AS ExtendedPrice, Orders.Freight FROM Shippers INNER JOIN (Products INNER JOIN ((Employees INNER JOIN (Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID) ON Employees.EmployeeID = Orders.EmployeeID) INNER JOIN [Order Details] ON Orders.OrderID = [Order Details].OrderID) ON Products.ProductID = [Order Details].ProductID) ON Shippers.ShipperID = Orders.ShipVia;"
Set qdfNew = DB.CreateQueryDef("Invoices", sSQL)
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Invoices Filter", "SELECT DISTINCTROW Invoices.* FROM Invoices WHERE (((Invoices.OrderID)=[Forms]![Orders]![OrderID]));")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Order Details Extended", "SELECT DISTINCTROW [Order Details].OrderID, [Order Details].ProductID, Products.ProductName, [Order Details].UnitPrice, [Order Details].Quantity, [Order Details].Discount, CCur([Order Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100 AS ExtendedPrice FROM Products INNER JOIN [Order Details] ON Products.ProductID = [Order Details].ProductID ORDER BY [Order Details].OrderID;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Order Subtotals", "SELECT DISTINCTROW [Order Details].OrderID, Sum(CCur([UnitPrice]*[Quantity]*(1-[Discount])/100)*100) AS Subtotal FROM [Order Details] GROUP BY [Order Details].OrderID;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Orders Qry", "SELECT DISTINCTROW Orders.OrderID, Orders.CustomerID, Orders.EmployeeID, Orders.OrderDate, Orders.RequiredDate, Orders.ShippedDate, Orders.ShipVia, Orders.Freight, Orders.ShipName, Orders.ShipAddress, Orders.ShipCity, Orders.ShipRegion, Orders.ShipPostalCode, Orders.ShipCountry, Customers.CompanyName, Customers.Address, Customers.City, Customers.Region, Customers.PostalCode, Customers.Country FROM Customers INNER JOIN Orders ON Customers.CustomerID = Orders.CustomerID;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Product Sales for 1995", "SELECT DISTINCTROW Categories.CategoryName, Products.ProductName, Sum(CCur([Order Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100) AS ProductSales FROM (Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID) INNER JOIN (Orders INNER JOIN [Order Details] ON Orders.OrderID = [Order Details].OrderID) ON Products.ProductID = [Order Details].ProductID WHERE (((Orders.ShippedDate) Between #1/1/95# And #12/31/95#)) GROUP BY Categories.CategoryName, Products.ProductName;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Products Above Average Price", "SELECT DISTINCTROW Products.ProductName, Products.UnitPrice FROM Products WHERE (((Products.UnitPrice)>(SELECT AVG([UnitPrice]) From Products))) ORDER BY Products.UnitPrice DESC;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Products by Category", "SELECT DISTINCTROW Categories.CategoryName, Products.ProductName, Products.QuantityPerUnit, Products.UnitsInStock, Products.Discontinued FROM Categories INNER JOIN Products ON Categories.CategoryID = Products.CategoryID WHERE (((Products.Discontinued)<>Yes)) ORDER BY Categories.CategoryName, Products.ProductName;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Quarterly Orders", "SELECT DISTINCTROW Customers.CustomerID, Customers.CompanyName, Customers.City, Customers.Country FROM Customers RIGHT JOIN Orders ON Customers.CustomerID = Orders.CustomerID WHERE (((Orders.OrderDate) Between #1/1/95# And #12/31/95#));")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Quarterly Orders by Product", "TRANSFORM Sum(CCur([Order Details].[UnitPrice]*[Quantity]*(1-[Discount])/100)*100) AS ProductAmount SELECT DISTINCTROW Products.ProductName, Orders.CustomerID, Year([OrderDate]) AS OrderYear FROM Products INNER JOIN (Orders INNER JOIN [Order Details] ON Orders.OrderID = [Order Details].OrderID) ON Products.ProductID = [Order Details].ProductID WHERE (((Orders.OrderDate) Between #1/1/95# And #12/31/95#)) GROUP BY Products.ProductName, Orders.CustomerID, Year([OrderDate]) PIVOT ""Qtr "" & DatePart(""q"",[OrderDate],1,0) In (""Qtr 1"",""Qtr 2"",""Qtr 3"",""Qtr 4"");")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Sales by Category", "SELECT DISTINCTROW Categories.CategoryID, Categories.CategoryName, Products.ProductName, Sum([Order Details Extended].ExtendedPrice) AS ProductSales FROM Categories INNER JOIN (Products INNER JOIN (Orders INNER JOIN [Order Details Extended] ON Orders.OrderID = [Order Details Extended].OrderID) ON Products.ProductID = [Order Details Extended].ProductID) ON Categories.CategoryID = Products.CategoryID WHERE (((Orders.OrderDate) Between #1/1/95# And #12/31/95#)) GROUP BY Categories.CategoryID, Categories.CategoryName, Products.ProductName ORDER BY Products.ProductName;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Sales by Year", "PARAMETERS [Forms]![Sales by Year Dialog]![BeginningDate] DateTime, [Forms]![Sales by Year Dialog]![EndingDate] DateTime; SELECT DISTINCTROW Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal, Format([ShippedDate],""yyyy"") AS [Year] FROM Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID WHERE (((Orders.ShippedDate) Is Not Null And (Orders.ShippedDate) Between [Forms]![Sales by Year Dialog]![BeginningDate] And [Forms]![Sales by Year Dialog]![EndingDate]));")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Sales Totals by Amount", "SELECT DISTINCTROW [Order Subtotals].Subtotal AS SaleAmount, Orders.OrderID, Customers.CompanyName, Orders.ShippedDate FROM Customers INNER JOIN (Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID) ON Customers.CustomerID = Orders.CustomerID WHERE ((([Order Subtotals].Subtotal)>2500) AND ((Orders.ShippedDate) Between #1/1/95# And #12/31/95#));")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Summary of Sales by Quarter", "SELECT DISTINCTROW Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal FROM Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID WHERE (((Orders.ShippedDate) Is Not Null)) ORDER BY Orders.ShippedDate;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Summary of Sales by Year", "SELECT DISTINCTROW Orders.ShippedDate, Orders.OrderID, [Order Subtotals].Subtotal FROM Orders INNER JOIN [Order Subtotals] ON Orders.OrderID = [Order Subtotals].OrderID WHERE (((Orders.ShippedDate) Is Not Null)) ORDER BY Orders.ShippedDate;")
'Named query is automatically appended to the queries collection
'
Set qdfNew = DB.CreateQueryDef("Ten Most Expensive Products", "SELECT DISTINCTROW TOP 10 Products.ProductName AS TenMostExpensiveProducts, Products.UnitPrice FROM Products ORDER BY Products.UnitPrice DESC;")
'Named query is automatically appended to the queries collection
'
End Sub

Public Sub CreateRelations()
Set relNew = DB.CreateRelation("CategoriesProducts", "Categories", "Products")
relNew.Fields.Append relNew.CreateField("CategoryID")
relNew.Fields![CategoryID].ForeignName = "CategoryID"
relNew.Attributes = 0
'relNew.Fields![CategoriesProducts].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
Set relNew = DB.CreateRelation("CustomersOrders", "Customers", "Orders")
relNew.Fields.Append relNew.CreateField("CustomerID")
relNew.Fields![CustomerID].ForeignName = "CustomerID"
relNew.Attributes = 256
'relNew.Fields![CustomersOrders].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
Set relNew = DB.CreateRelation("EmployeesOrders", "Employees", "Orders")
relNew.Fields.Append relNew.CreateField("EmployeeID")
relNew.Fields![EmployeeID].ForeignName = "EmployeeID"
relNew.Attributes = 0
'relNew.Fields![EmployeesOrders].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
Set relNew = DB.CreateRelation("OrdersOrder Details", "Orders", "Order Details")
relNew.Fields.Append relNew.CreateField("OrderID")
relNew.Fields![OrderID].ForeignName = "OrderID"
relNew.Attributes = 4096
'relNew.Fields![OrdersOrder Details].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
Set relNew = DB.CreateRelation("ProductsOrder Details", "Products", "Order Details")
relNew.Fields.Append relNew.CreateField("ProductID")
relNew.Fields![ProductID].ForeignName = "ProductID"
relNew.Attributes = 0
'relNew.Fields![ProductsOrder Details].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
Set relNew = DB.CreateRelation("ShippersOrders", "Shippers", "Orders")
relNew.Fields.Append relNew.CreateField("ShipperID")
relNew.Fields![ShipperID].ForeignName = "ShipVia"
relNew.Attributes = 0
'relNew.Fields![ShippersOrders].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
Set relNew = DB.CreateRelation("SuppliersProducts", "Suppliers", "Products")
relNew.Fields.Append relNew.CreateField("SupplierID")
relNew.Fields![SupplierID].ForeignName = "SupplierID"
relNew.Attributes = 0
'relNew.Fields![SuppliersProducts].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
End Sub

'VBStructure from STRUX32.
'Visual Basic 5.x version - Project style
'
'You are free to use and modify this code as you wish and to distribute it
'in your applications.
'
'Add this module and the form CreateVBDatabase.frm to a new project
'and remove the Form1.frm that was created. Set the startup form to
'frmCreateVBDatabase and you have a ready made project to create a
'a new database!
'
'Don't forget to add the Microsoft DAO 3.5 Object Library to your project
'  -   Go to Project, References... and click on the check box, then click OK
'
'Code created 1/2/2003 4:05:06 PM
'
'This public database declaration may be removed if it has been declared
'elsewhere in your project. If you make it a module declaration (Dim) then
'you will not be able to add initial data to the database unless you do it in
'this subroutine, otherwise DB will be out of scope.
'
Public DB as Database
Dim tdfNew as TableDef
Dim idxNew as Index
Dim idxNewField as Field
Dim qdfNew as QueryDef
Dim relNew as Relation
'

Public Sub CreateBase(DbName$)
On Error Goto BadBase
Set DB = CreateDatabase(DbName$, dbLangGeneral)
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
Exit Sub

BadBase:
If MsgBox ("Database already exists! Delete existing?", vbCritical + vbYesNo, "Create error!") = vbYes Then
    Kill DbName$
    Resume
End If
End
End Sub

Public Sub CreateBaseTables()
Set tdfNew = DB.CreateTableDef("Customers")
With tdfNew
    .Fields.Append .CreateField("Name", 10, 50)
    .Fields("Name").Required = False
    .Fields("Name").AllowZeroLength = True
    .Fields("Name").Attributes = 2
    .Fields.Append .CreateField("ID", 4)
    .Fields("ID").Required = True
    .Fields("ID").AllowZeroLength = False
    .Fields("ID").Attributes = 17
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Orders")
With tdfNew
    .Fields.Append .CreateField("OrderID", 4)
    .Fields("OrderID").Required = True
    .Fields("OrderID").AllowZeroLength = False
    .Fields("OrderID").Attributes = 17
    .Fields.Append .CreateField("CustomerID", 4)
    .Fields("CustomerID").Required = False
    .Fields("CustomerID").AllowZeroLength = False
    .Fields("CustomerID").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateBaseIndexes()
Set tdfNew = DB![Customers]
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("ID")
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
    Set idxNew = .CreateIndex("ByName")
    With idxNew
        Set idxNewField = .CreateField ("Name")
        With idxNewField
            .Attributes = 1
        End With
        .Fields.Append idxNewField
        Set idxNewField = .CreateField ("ID")
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
DB.Tabledefs.Refresh
End Sub

Public Sub CreateQueries()
Set qdfNew = DB.CreateQueryDef("Customer Names", "SELECT Customers.Name FROM Customers ;")
'Named query is automatically appended to the queries collection
'
End Sub

Public Sub CreateRelations()
Set relNew = DB.CreateRelation("CustomersOrders", "Customers", "Orders")
relNew.Fields.Append relNew.CreateField("ID")
relNew.Fields![ID].ForeignName = "CustomerID"
relNew.Attributes = 256
'relNew.Fields![CustomersOrders].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
End Sub

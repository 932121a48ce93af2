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
Set DB = CreateDatabase("C:\Data\People.mdb", dbLangGeneral)
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
Set tdfNew = DB.CreateTableDef("People")
With tdfNew
    .Fields.Append .CreateField("ID", 4)
    .Fields("ID").Required = False
    .Fields("ID").AllowZeroLength = False
    .Fields("ID").Attributes = 0
    'Not created: field "People.Photos" (an attachment field: its type has no column in a Jet 3 database made by DAO 3.5)
    'Not created: field "People.Tags" (a multi-valued field: its type has no column in a Jet 3 database made by DAO 3.5)
    'Not created: field "People.Twice" (a calculated field ([ID]*2): a Jet 3 database made by DAO 3.5 has no calculated fields)
    .Fields.Append .CreateField("Key", 15)
    .Fields("Key").Required = False
    .Fields("Key").AllowZeroLength = False
    .Fields("Key").Attributes = 1
    'Not created: auto-number "People.Key" (a GUID auto-number: made as a plain GUID column, without its GenGUID() default)
    DB.TableDefs.Append tdfNew
End With
'
'Not created: table "Only Photos" (none of its fields has a column in a Jet 3 database made by DAO 3.5)
'
Set tdfNew = DB.CreateTableDef("Elsewhere", 0, "Places", ";DATABASE=C:\Data\Other.mdb")
With tdfNew
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Visits")
With tdfNew
    .Fields.Append .CreateField("PersonID", 4)
    .Fields("PersonID").Required = False
    .Fields("PersonID").AllowZeroLength = False
    .Fields("PersonID").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
'Not created: table "Torn" (its definition could not be read (page 7 (table definition) offset 0: not a table definition page (type 1)))
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateBaseIndexes()
Set tdfNew = DB![People]
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
'Not created: index "People.ByTags" (its field 'Tags' is not created)
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateQueries()
Set qdfNew = DB.CreateQueryDef("Remote Sales")
qdfNew.Connect = "ODBC;DSN=Sales"
qdfNew.ReturnsRecords = True
qdfNew.SQL = "EXEC GetSales 2003"
'Named query is automatically appended to the queries collection
'
'Not created: query "Torn Query" (its definition could not be read (no MSysQueries rows))
'
End Sub

Public Sub CreateRelations()
Set relNew = DB.CreateRelation("PeopleVisits", "People", "Visits")
relNew.Fields.Append relNew.CreateField("ID")
relNew.Fields![ID].ForeignName = "PersonID"
relNew.Attributes = 0
'relNew.Fields![PeopleVisits].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
'Not created: relation "ElsewhereVisits" (an enforced relation with a linked table, which Jet cannot enforce)
'
Set relNew = DB.CreateRelation("LooseVisits", "Elsewhere", "Visits")
relNew.Fields.Append relNew.CreateField("ID")
relNew.Fields![ID].ForeignName = "PersonID"
relNew.Attributes = 2
'relNew.Fields![LooseVisits].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
'Not created: relation "TagsVisits" (its field 'People.Tags' is not created)
'
'Not created: relation "MSysNavPaneGroupsVisits" (its table 'MSysNavPaneGroups' is not created: a system table, which Jet makes itself)
'
End Sub

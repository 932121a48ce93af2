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
Set DB = CreateDatabase("/data/it""s.mdb", dbLangGeneral)
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
Set tdfNew = DB.CreateTableDef("Say ""Hi""")
With tdfNew
    .Fields.Append .CreateField("a""b", 10, 5)
    .Fields("a""b").Required = False
    .Fields("a""b").AllowZeroLength = False
    .Fields("a""b").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("T")
With tdfNew
    .Fields.Append .CreateField("c""d", 10, 5)
    .Fields("c""d").Required = False
    .Fields("c""d").AllowZeroLength = False
    .Fields("c""d").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateBaseIndexes()
DB.Tabledefs.Refresh
End Sub

Public Sub CreateQueries()
Set qdfNew = DB.CreateQueryDef("Q""1", "SELECT ""x"" AS [Label] FROM [Say ""Hi""];")
'Named query is automatically appended to the queries collection
'
End Sub

Public Sub CreateRelations()
Set relNew = DB.CreateRelation("R""", "Say ""Hi""", "T")
relNew.Fields.Append relNew.CreateField("a""b")
relNew.Fields![a"b].ForeignName = "c""d"
relNew.Attributes = 0
'relNew.Fields![R"].PartialReplica = True   'Not sure about this one yet
Db.Relations.Append relNew
'
End Sub

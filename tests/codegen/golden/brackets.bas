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
Set DB = CreateDatabase("x.mdb", dbLangGeneral)
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
Set tdfNew = DB.CreateTableDef("Odd]Name")
With tdfNew
    .Fields.Append .CreateField("Key]", 4)
    .Fields("Key]").Required = False
    .Fields("Key]").AllowZeroLength = False
    .Fields("Key]").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("Plain [x")
With tdfNew
    .Fields.Append .CreateField("ID", 4)
    .Fields("ID").Required = False
    .Fields("ID").AllowZeroLength = False
    .Fields("ID").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateBaseIndexes()
Set tdfNew = DB.TableDefs("Odd]Name")
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("Key]")
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
Set tdfNew = DB![Plain [x]
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
DB.Tabledefs.Refresh
End Sub

Public Sub CreateQueries()
End Sub

Public Sub CreateRelations()
Set relNew = DB.CreateRelation("OddPlain", "Odd]Name", "Plain [x")
relNew.Fields.Append relNew.CreateField("Key]")
relNew.Fields("Key]").ForeignName = "ID"
relNew.Attributes = 0
'relNew.Fields![OddPlain].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
End Sub

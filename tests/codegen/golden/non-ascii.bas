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
Set DB = CreateDatabase("/data/base.mdb", dbLangGeneral)
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
Set tdfNew = DB.CreateTableDef("Anv" & ChrW$(&HE4) & "ndare")
With tdfNew
    .Fields.Append .CreateField("F" & ChrW$(&HF6) & "rnamn", 10, 20)
    .Fields("F" & ChrW$(&HF6) & "rnamn").Required = False
    .Fields("F" & ChrW$(&HF6) & "rnamn").AllowZeroLength = False
    .Fields("F" & ChrW$(&HF6) & "rnamn").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
Set tdfNew = DB.CreateTableDef("T")
With tdfNew
    .Fields.Append .CreateField("X", 10, 20)
    .Fields("X").Required = False
    .Fields("X").AllowZeroLength = False
    .Fields("X").Attributes = 0
    DB.TableDefs.Append tdfNew
End With
'
DB.Tabledefs.Refresh
End Sub

Public Sub CreateBaseIndexes()
Set tdfNew = DB.TableDefs("Anv" & ChrW$(&HE4) & "ndare")
With tdfNew
    Set idxNew = .CreateIndex("PrimaryKey")
    With idxNew
        Set idxNewField = .CreateField ("F" & ChrW$(&HF6) & "rnamn")
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
Set qdfNew = DB.CreateQueryDef("Fr" & ChrW$(&HE5) & "ga", "SELECT [F" & ChrW$(&HF6) & "rnamn] FROM [Anv" & ChrW$(&HE4) & "ndare];")
'Named query is automatically appended to the queries collection
'
End Sub

Public Sub CreateRelations()
Set relNew = DB.CreateRelation("R" & ChrW$(&HE9) & "l", "Anv" & ChrW$(&HE4) & "ndare", "T")
relNew.Fields.Append relNew.CreateField("F" & ChrW$(&HF6) & "rnamn")
relNew.Fields("F" & ChrW$(&HF6) & "rnamn").ForeignName = "X"
relNew.Attributes = 0
'relNew.Fields![Rél].PartialReplica = False   'Not sure about this one yet
Db.Relations.Append relNew
'
End Sub

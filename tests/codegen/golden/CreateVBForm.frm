VERSION 5.00
Begin VB.Form frmCreateVBDatabase
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Create New Database"
   ClientHeight    =   5115
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   5115
   ScaleWidth      =   4680
   ShowInTaskbar   =   0   'False
   StartUpPosition =   3  'Windows Default
   Begin VB.CommandButton cmdCancel
      Cancel          =   -1  'True
      Caption         =   "&Cancel"
      BeginProperty Font
         Name            =   "MS Sans Serif"
         Size            =   8.25
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   435
      Left            =   90
      TabIndex        =   4
      Top             =   4500
      Width           =   1905
   End
   Begin VB.CommandButton cmdAccept
      Caption         =   "&Accept"
      Default         =   -1  'True
      BeginProperty Font
         Name            =   "MS Sans Serif"
         Size            =   8.25
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   435
      Left            =   2700
      TabIndex        =   3
      Top             =   4500
      Width           =   1905
   End
   Begin VB.DirListBox Dir1
      Height          =   2790
      Left            =   90
      TabIndex        =   2
      Top             =   1530
      Width           =   4515
   End
   Begin VB.DriveListBox Drive1
      Height          =   315
      Left            =   90
      TabIndex        =   1
      Top             =   1050
      Width           =   4515
   End
   Begin VB.TextBox txtBaseName
      BeginProperty Font
         Name            =   "MS Sans Serif"
         Size            =   12
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   420
      Left            =   90
      TabIndex        =   0
      Top             =   360
      Width           =   4515
   End
   Begin VB.Label Label1
      Caption         =   "Database Name (Extension NOT required)"
      Height          =   165
      Left            =   180
      TabIndex        =   5
      Top             =   120
      Width           =   3465
   End
End
Attribute VB_Name = "frmCreateVBDatabase"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
'frmCreateVBDatabase
'
'Created by Strux32.exe
'Outline form for the project style database creation module
'
'Form created 1/2/2003 4:05:06 PM
'
'You are free to modify this form as you wish and incorporate it
'into any projects
'

Private Sub cmdAccept_Click()
Me.Enabled = False
If txtBaseName = "" Then
    Exit Sub
End If
BaseName$ = Dir1.Path & "\" & txtBaseName
If InStr(LCase$(BaseName$), ".mdb") = 0 Then
    BaseName$ = BaseName$ & ".mdb"
End If
If MsgBox("Confirm creation of: " & BaseName$, vbQuestion + vbYesNo) = vbNo Then
    Unload Me
    End
End If
Call CreateBase(BaseName$)
DB.Close

'Your code to add any default entries to the newly created database
'should go here. An example of the code to open the database is
'included and can be unremarked
'
'Set DB = OpenDatabase(BaseName$, False, False)
'Dim Rs As Recordset
'Set Rs = DB.OpenRecordset("MyTableName", dbOpenTable)
'Rs.AddNew
'Rs("Field1") = 1
'Rs("Field2") = "ABC"
'Rs("Field3") = "DEF"
'Rs.Update
'Rs.Close
'DB.Close
Unload Me
End
End Sub

Private Sub cmdCancel_Click()
Unload Me
End Sub

Private Sub Drive1_Change()
Dir1.Path = Drive1.Drive
End Sub

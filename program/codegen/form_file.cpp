#include "codegen/form_file.h"

#include "codegen/text_file.h"

namespace codegen {

namespace {

void appendFontBlock(std::vector<std::string>& lines, const char* sizeLine) {
    lines.insert(lines.end(), {
        "      BeginProperty Font",
        "         Name            =   \"MS Sans Serif\"",
        sizeLine,
        "         Charset         =   0",
        "         Weight          =   700",
        "         Underline       =   0   'False",
        "         Italic          =   0   'False",
        "         Strikethrough   =   0   'False",
        "      EndProperty",
    });
}

const char* const kButtonFontSize = "         Size            =   8.25";
const char* const kNameBoxFontSize = "         Size            =   12";

}  // namespace

std::vector<std::string> formLines(const std::string& created) {
    std::vector<std::string> lines = {
        "VERSION 5.00",
        "Begin VB.Form frmCreateVBDatabase",
        "   BorderStyle     =   3  'Fixed Dialog",
        "   Caption         =   \"Create New Database\"",
        "   ClientHeight    =   5115",
        "   ClientLeft      =   45",
        "   ClientTop       =   330",
        "   ClientWidth     =   4680",
        "   LinkTopic       =   \"Form1\"",
        "   MaxButton       =   0   'False",
        "   MinButton       =   0   'False",
        "   ScaleHeight     =   5115",
        "   ScaleWidth      =   4680",
        "   ShowInTaskbar   =   0   'False",
        "   StartUpPosition =   3  'Windows Default",
        "   Begin VB.CommandButton cmdCancel",
        "      Cancel          =   -1  'True",
        "      Caption         =   \"&Cancel\"",
    };
    appendFontBlock(lines, kButtonFontSize);
    lines.insert(lines.end(), {
        "      Height          =   435",
        "      Left            =   90",
        "      TabIndex        =   4",
        "      Top             =   4500",
        "      Width           =   1905",
        "   End",
        "   Begin VB.CommandButton cmdAccept",
        "      Caption         =   \"&Accept\"",
        "      Default         =   -1  'True",
    });
    appendFontBlock(lines, kButtonFontSize);
    lines.insert(lines.end(), {
        "      Height          =   435",
        "      Left            =   2700",
        "      TabIndex        =   3",
        "      Top             =   4500",
        "      Width           =   1905",
        "   End",
        "   Begin VB.DirListBox Dir1",
        "      Height          =   2790",
        "      Left            =   90",
        "      TabIndex        =   2",
        "      Top             =   1530",
        "      Width           =   4515",
        "   End",
        "   Begin VB.DriveListBox Drive1",
        "      Height          =   315",
        "      Left            =   90",
        "      TabIndex        =   1",
        "      Top             =   1050",
        "      Width           =   4515",
        "   End",
        "   Begin VB.TextBox txtBaseName",
    });
    appendFontBlock(lines, kNameBoxFontSize);
    lines.insert(lines.end(), {
        "      Height          =   420",
        "      Left            =   90",
        "      TabIndex        =   0",
        "      Top             =   360",
        "      Width           =   4515",
        "   End",
        "   Begin VB.Label Label1",
        "      Caption         =   \"Database Name (Extension NOT required)\"",
        "      Height          =   165",
        "      Left            =   180",
        "      TabIndex        =   5",
        "      Top             =   120",
        "      Width           =   3465",
        "   End",
        "End",
        "Attribute VB_Name = \"frmCreateVBDatabase\"",
        "Attribute VB_GlobalNameSpace = False",
        "Attribute VB_Creatable = False",
        "Attribute VB_PredeclaredId = True",
        "Attribute VB_Exposed = False",
        "'frmCreateVBDatabase",
        "'",
        "'Created by Strux32.exe",
        "'Outline form for the project style database creation module",
        "'",
        "'Form created " + created,
        "'",
        "'You are free to modify this form as you wish and incorporate it",
        "'into any projects",
        "'",
        "",
        "Private Sub cmdAccept_Click()",
        "Me.Enabled = False",
        "If txtBaseName = \"\" Then",
        "    Exit Sub",
        "End If",
        "BaseName$ = Dir1.Path & \"\\\" & txtBaseName",
        "If InStr(LCase$(BaseName$), \".mdb\") = 0 Then",
        "    BaseName$ = BaseName$ & \".mdb\"",
        "End If",
        "If MsgBox(\"Confirm creation of: \" & BaseName$, vbQuestion + vbYesNo) = vbNo Then",
        "    Unload Me",
        "    End",
        "End If",
        "Call CreateBase(BaseName$)",
        "DB.Close",
        "",
        "'Your code to add any default entries to the newly created database",
        "'should go here. An example of the code to open the database is",
        "'included and can be unremarked",
        "'",
        "'Set DB = OpenDatabase(BaseName$, False, False)",
        "'Dim Rs As Recordset",
        "'Set Rs = DB.OpenRecordset(\"MyTableName\", dbOpenTable)",
        "'Rs.AddNew",
        "'Rs(\"Field1\") = 1",
        "'Rs(\"Field2\") = \"ABC\"",
        "'Rs(\"Field3\") = \"DEF\"",
        "'Rs.Update",
        "'Rs.Close",
        "'DB.Close",
        "Unload Me",
        "End",
        "End Sub",
        "",
        "Private Sub cmdCancel_Click()",
        "Unload Me",
        "End Sub",
        "",
        "Private Sub Drive1_Change()",
        "Dir1.Path = Drive1.Drive",
        "End Sub",
    });
    return lines;
}

std::string formFilePath(const std::string& sDbPath) {
    const auto separator = sDbPath.find_last_of("\\/");
    if (separator == std::string::npos) return kFormFileName;
    return sDbPath.substr(0, separator + 1) + kFormFileName;
}

void CreateVBForm(const std::string& formPath, const std::string& created) {
    writeTextFile(formPath, formLines(created));
}

}  // namespace codegen

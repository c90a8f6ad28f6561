#pragma once
// The folder the program's data files are found under (wave lists, expansion
// definitions, structure pictures). It ends with a slash.

#include <QString>
#include <QStringList>

// Name of the folder of expansion definition files; the program folder is
// recognised by holding it.
inline constexpr char ExpansionFolderName[] = "exp.txt";

// The first folder of the list that holds the expansion folder, or the last
// folder of the list when none does. Every result ends with a slash.
QString FindProgramDir(const QStringList &candidates);

// Candidates in order: the executable's folder, the installed data folder
// (<prefix>/share/tessiva beside <prefix>/bin), the working folder.
QStringList ProgramDirCandidates();

QString ProgramDir();

#pragma once
// The program's picture: a synthesizer display with a wave above a strip of
// keys. The splash window shows it, it is the windows' icon, and the icon
// files installed for the desktop are rendered from it, so all look alike.

#include <QIcon>
#include <QImage>

// The picture drawn into a transparent square of size pixels.
QImage ProgramPicture(int size);

// The picture at the sizes window managers ask for.
QIcon ProgramIcon();

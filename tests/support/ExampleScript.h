#pragma once

#include <QByteArray>

// The join script of clip.avi cut into three pieces.
inline const QByteArray ExampleScript = "@echo off\r\n"
                                        "ren \"clip.avi.1\" \"clip.avi\"\r\n"
                                        "copy /b \"clip.avi\"+\"clip.avi.2\" \"clip.avi\"\r\n"
                                        "del \"clip.avi.2\"\r\n"
                                        "copy /b \"clip.avi\"+\"clip.avi.3\" \"clip.avi\"\r\n"
                                        "del \"clip.avi.3\"\r\n"
                                        "del \"clip.avi.bat\"";

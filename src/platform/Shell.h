#pragma once
// The desktop shell: opening a document or web address with the program the
// user's desktop associates with it, and starting a program from a command line.

#include <QString>

namespace vz {

class Shell
{
public:
    // How the started program's first window should appear.
    enum class Window { NormalFocus = 1, MinimizedFocus = 2 };

    virtual ~Shell() = default;
    // Hands file (a web address or a document) to the desktop's opener and
    // returns at once; whether anything opened is not reported.
    virtual void open(const QString &file) = 0;
    // Starts commandLine without waiting for it; false when nothing could be
    // started. "start <address>" opens the address as open() does.
    virtual bool start(const QString &commandLine, Window window) = 0;
};

} // namespace vz

#pragma once
// The window system the program runs on. The show parks and hides the cursor
// and a second show finds the first by its caption; a Wayland client can do
// neither, so in a Wayland session the program runs through XWayland.

#include <QByteArray>
#include <QString>
#include <optional>

namespace vz {

// Points the toolkit at X11 while the object lives (the toolkit reads its
// platform once, as it starts) unless another platform than Wayland was named
// in QT_QPA_PLATFORM. The variable is put back afterwards, so the programs
// that the program starts get the session's own.
class X11Choice
{
public:
    X11Choice();
    ~X11Choice();
    X11Choice(const X11Choice &) = delete;
    X11Choice &operator=(const X11Choice &) = delete;

    // Why the program cannot start: X11 was chosen and no X display is named.
    // Empty when it can start.
    [[nodiscard]] QString problem() const;

private:
    bool m_chosen = false;
    std::optional<QByteArray> m_previous;
};

} // namespace vz

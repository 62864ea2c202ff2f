#pragma once
// The outcome of a step that can fail: a value (or, for Result<void>, only
// success), or the reason there is none, as text for the user or the log.
// Every layer uses it, from the picture decoders to the settings savers; it
// cannot be ignored.

#include <QString>
#include <optional>
#include <utility>

namespace vz {

struct Failure
{
    QString reason;
};

template <typename T = void>
class [[nodiscard]] Result
{
public:
    Result(T value)
        : m_value(std::move(value))
    {
    }
    Result(Failure failure)
        : m_error(std::move(failure.reason))
    {
    }

    explicit operator bool() const { return m_value.has_value(); }
    const T &value() const & { return *m_value; }
    T &&value() && { return std::move(*m_value); }
    const QString &error() const { return m_error; }

private:
    std::optional<T> m_value;
    QString m_error;
};

template <>
class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Failure failure)
        : m_error(std::move(failure.reason)), m_failed(true)
    {
    }

    explicit operator bool() const { return !m_failed; }
    // Empty on success.
    const QString &error() const { return m_error; }

private:
    QString m_error;
    bool m_failed = false;
};

} // namespace vz

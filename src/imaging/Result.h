#pragma once
// The outcome of a decoding step: a value, or the reason there is none, as a
// phrase that fits after "The picture is damaged: " (or a whole sentence,
// where a step says so). Cannot be ignored.

#include <QString>
#include <optional>
#include <utility>

namespace vz::picture {

struct Failure
{
    QString reason;
};

template <typename T>
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

} // namespace vz::picture

#pragma once
// Literal text cuts with 1-based positions. A cut that needs a character the text
// lacks (start below 1, negative length) fails: callers skip the step and keep the
// old value. QString::mid/left would silently hand back the whole string instead.
#include <QString>
#include <optional>

namespace cut {

// 1-based position of needle in hay at or after start; 0 when absent.
inline int InStr(const QString &hay, const QString &needle, int start = 1)
{
    if (start < 1) start = 1;
    if (start > hay.size() + 1) return 0;
    if (needle.isEmpty()) return start;
    const qsizetype at = hay.indexOf(needle, start - 1);
    return at < 0 ? 0 : int(at) + 1;
}

inline std::optional<QString> Mid(const QString &s, int start)
{
    if (start < 1) return std::nullopt;
    if (start > s.size()) return QString();
    return s.mid(start - 1);
}

inline std::optional<QString> Mid(const QString &s, int start, int length)
{
    if (start < 1 || length < 0) return std::nullopt;
    if (start > s.size()) return QString();
    return s.mid(start - 1, length);
}

inline std::optional<QString> Left(const QString &s, int length)
{
    if (length < 0) return std::nullopt;
    return s.left(length);
}

// Assigns a cut only when it succeeded: the failing-step rule.
inline bool Set(QString &target, const std::optional<QString> &value)
{
    if (!value) return false;
    target = *value;
    return true;
}

} // namespace cut

#pragma once

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Readable gtest failure output for Qt strings and file bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '[' << bytes.toHex(' ').toStdString() << ']';
}

// Names parameterised cases after their own name field.
struct CaseName {
    template <typename Param>
    std::string operator()(const ::testing::TestParamInfo<Param>& param) const
    {
        return param.param.name;
    }
};

namespace {
// Parameterised cases print as their name rather than as raw bytes.
template <typename Case>
    requires requires(const Case& c) { c.name; }
void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.name;
}
} // namespace

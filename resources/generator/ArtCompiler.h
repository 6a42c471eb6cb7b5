// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>

#include <stdexcept>

class QXmlStreamReader;
class QXmlStreamWriter;

struct ArtError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Turns a drawing from resources/art into the picture the program compiles in.
// Two things change on the way, everything else is copied:
// - <text> becomes a <path> of the glyph outlines, so no user needs our fonts;
//   with text-anchor="middle" and dominant-baseline="central" the ink (not the
//   em box) is centred on x, y, which is what small lettering needs to look right;
// - <include href="_part.svg"/> is replaced by the children of that file's root,
//   so pictures that share a look (the plates) share one drawing.
class ArtCompiler {
public:
    explicit ArtCompiler(QDir artDir);

    // Throws ArtError naming the file and what is wrong.
    QByteArray Compile(const QString& fileName) const;

private:
    void CopyChildren(QXmlStreamReader& reader, QXmlStreamWriter& writer, const QString& fileName,
                      int depth) const;
    void IncludePart(const QString& partName, QXmlStreamWriter& writer, int depth) const;

    QDir artDir_;
};

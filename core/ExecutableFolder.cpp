// SPDX-License-Identifier: MIT
#include "core/ExecutableFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool HasUnreadableCharacters(const QString& folder)
{
    // The platform puts U+FFFD where the name's bytes were not valid in its encoding.
    return folder.contains(QChar::ReplacementCharacter) || folder.contains(QChar::Null) || !folder.isValidUtf16();
}

// Whether the file system names the folder exactly as Qt hands it over.
#ifdef Q_OS_WIN
bool FileSystemNamesExactly(const QString&)
{
    // Qt opens files by their UTF-16 names: every folder Qt can name is reached as
    // it is, whatever the ANSI code page (QFile::encodeName goes through it).
    return true;
}
#else
bool FileSystemNamesExactly(const QString& folder)
{
    // A name that comes back different from the file system would open another file.
    return QFile::decodeName(QFile::encodeName(folder)) == folder;
}
#endif

} // namespace

std::optional<QString> WhyUnusable(const QString& executableFolder)
{
    if (executableFolder.isEmpty())
        // What the platform reports for a folder whose name it cannot decode.
        return QStringLiteral("プログラムのあるフォルダーが分かりません。"
                              "フォルダーの名前に読み取れない文字がないか確かめ、"
                              "名前の正しいフォルダーにプログラムを移してください。");
    const QString shown = QDir::toNativeSeparators(executableFolder);
    if (HasUnreadableCharacters(executableFolder))
        return QStringLiteral("プログラムのあるフォルダー「%1」の名前に、読み取れない文字があります。"
                              "名前の正しいフォルダーにプログラムを移してください。")
            .arg(shown);
    if (!FileSystemNamesExactly(executableFolder))
        return QStringLiteral("プログラムのあるフォルダー「%1」の名前に、この環境のファイル名で表せない文字があります。"
                              "名前の正しいフォルダーにプログラムを移してください。")
            .arg(shown);
    if (QDir::isRelativePath(executableFolder))
        return QStringLiteral("プログラムのあるフォルダー「%1」が絶対パスではありません。").arg(shown);
    if (!QFileInfo(executableFolder).isDir())
        return QStringLiteral("プログラムのあるフォルダー「%1」が見つかりません。").arg(shown);
    return std::nullopt;
}

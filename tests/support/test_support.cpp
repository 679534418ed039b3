#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace dorodure::test {

TempDataFolder::TempDataFolder() {
    if (!dir_.isValid()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

QString TempDataFolder::file(const QString& name) const {
    return QDir(path()).filePath(name);
}

QString TempDataFolder::mkdir(const QString& name) const {
    QDir(path()).mkpath(name);
    return file(name);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write test file " + path.toStdString());
    }
}

QByteArray crlf(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += line.toLatin1() + "\r\n";
    }
    return out;
}

void writeCrlfLines(const QString& path, const QStringList& lines) {
    writeBytes(path, crlf(lines));
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

QStringList readCrlfLines(const QString& path) {
    QByteArray all = readBytes(path);
    QStringList lines;
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf("\r\n", start);
        if (end < 0) {
            lines << QString::fromLatin1(all.mid(start));
            break;
        }
        lines << QString::fromLatin1(all.mid(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool ScriptedInteraction::confirm(const QString& text) {
    questions << text;
    if (confirmAnswers.empty()) {
        return false;
    }
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedInteraction::askText(const QString& title, const QString& prompt) {
    questions << title + QLatin1Char('|') + prompt;
    if (textAnswers.empty()) {
        return std::nullopt;
    }
    const bool cancelled = !textAnswers.front().has_value();
    const QString text = cancelled ? QString() : *textAnswers.front();
    textAnswers.pop_front();
    if (cancelled) {
        return std::nullopt;
    }
    return text;
}

}  // namespace dorodure::test

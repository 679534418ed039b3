#include "download_list.h"

#include "shell/text_file.h"
#include "shell/user_interaction.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace dorodure {

namespace {

constexpr int kStampLength = 8;

bool startsWithStamp(const QString& fileName) {
    if (fileName.size() < kStampLength) {
        return false;
    }
    for (int i = 0; i < kStampLength; ++i) {
        if (!fileName[i].isDigit() || fileName[i].unicode() > 127) {
            return false;
        }
    }
    return true;
}

DownloadRow rowFor(const QFileInfo& file) {
    const QString name = file.fileName();
    int year = file.lastModified().date().year();
    if (year < 2000) {
        year += 2000;
    }
    DownloadRow row;
    row.fileName = name;
    row.date = QStringLiteral("%1/%2/%3")
                   .arg(year, 4, 10, QLatin1Char('0'))
                   .arg(name.mid(0, 2), name.mid(2, 2));
    row.time = name.mid(4, 2) + QLatin1Char(':') + name.mid(6, 2);
    return row;
}

// The folder's regular files with the extension, matched without regard to
// case as the file system of the sites' origin does.
QFileInfoList filesOfType(const QString& folder, const QString& extension) {
    QFileInfoList result;
    const QFileInfoList all = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& f : all) {
        if (f.suffix().compare(extension, Qt::CaseInsensitive) == 0) {
            result << f;
        }
    }
    return result;
}

}  // namespace

QString foreignFileMessage(const QString& fileName, const QString& siteFolder) {
    return QStringLiteral("File \"") + fileName +
           QStringLiteral("\" does not belong in the directory ") + siteFolder + QLatin1Char('\r') +
           siteFolder + QLatin1Char('\r') + QStringLiteral(" Please remove it");
}

std::vector<DownloadRow> listDownloadReports(const QString& siteFolder, bool pdf,
                                             UserInteraction& ui) {
    std::vector<DownloadRow> rows;
    for (const QFileInfo& file :
         filesOfType(siteFolder, pdf ? QStringLiteral("pdf") : QStringLiteral("txt"))) {
        if (startsWithStamp(file.fileName())) {
            rows.push_back(rowFor(file));
        } else {
            rows.push_back({QString(), QString(), file.fileName()});
            ui.showMessage(foreignFileMessage(file.fileName(), siteFolder));
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const DownloadRow& a, const DownloadRow& b) {
        return a.date != b.date ? a.date < b.date : a.time < b.time;
    });
    return rows;
}

QString downloadReportToOpen(const QString& siteFolder, const DownloadRow& row, bool pdf) {
    if (row.date.size() < 10 || row.time.size() < 5) {
        return {};
    }
    const QString stamp =
        row.date.mid(5, 2) + row.date.mid(8, 2) + row.time.mid(0, 2) + row.time.mid(3, 2);
    const QString text = textfile::join(siteFolder, stamp + QStringLiteral(".txt"));
    if (!pdf && textfile::exists(text)) {
        return text;
    }
    return textfile::join(siteFolder, stamp + QStringLiteral(".pdf"));
}

}  // namespace dorodure

#pragma once

// A data folder with sites, settings, texts and a processing context for the
// download processing tests. Times are pinned: the clock reads 12/05/2009
// 14:03:22, the upload file is stamped 12/05/2009 13:58:07, the locale is
// British English and the time zone UTC.

#include "processing/process_raw.h"
#include "processing_world.h"
#include "shell/text_file.h"

#include <QFile>
#include <QLocale>

#include <memory>

namespace dorodure::test {

// A clocking record of checkpoint id at "YYMMDDHHNN" with a sequence number.
inline QString clocking(const QString& id, const QString& stamp, const QString& seq = "12") {
    return QStringLiteral("000000") + id + stamp + seq;
}

// One checkpoint line of a list: "Id Flag Name".
inline QString point(const QString& id, const QString& name, const QString& flag = "=") {
    return id + " " + flag + " " + name;
}

class ProcessFixture : public ProcessingWorld {
  public:
    ProcessFixture();

    // A site folder with its "Raw" folder and a checkpoint list.
    void site(const QString& name, const QStringList& checkpointLines);
    // Loads the sites and the id table as start-up does.
    void load();

    QString rawPath() const { return dir.file("Raw.txt"); }
    // "Raw.txt" with the identity line, the lines and "Done", stamped at the
    // pinned download time.
    void upload(const QStringList& lines, const QString& identity = "Id : Ziru0123");
    void uploadRaw(const QStringList& allLines);
    ProcessResult run(ProcessOrigin origin = ProcessOrigin::Download);

    // The report files of a site for the pinned stamp "05121403".
    QStringList text(const QString& siteName) const;
    QStringList csv(const QString& siteName) const;
    QString reportPath(const QString& siteName, const QString& ext) const;
    // The lines of a site's text report from the first record to the line
    // before the frequency part (or the warnings, or the end).
    QStringList recordLines(const QString& siteName) const;
    // The warning lines of a site's text report (after " Warnings ").
    QStringList warningLines(const QString& siteName) const;
    QStringList csvRecordRows(const QString& siteName) const;
    QStringList checkpointList(const QString& siteName) const;
};

}  // namespace dorodure::test

#pragma once

// A data folder with one or more sites, their day files, settings, texts and a
// processing context for the report tests. The clock reads 12/08/2011
// 09:00:00, the locale is British English and the time zone UTC.

#include "processing_world.h"
#include "reports/report_request.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace dorodure::test {

// A day-file line: check bytes "000000", id, then "YYMMDDHHNN" (22 characters).
inline QString dayLine(const QString& id, const QString& stamp) {
    return QStringLiteral("000000") + id + stamp;
}

// A checkpoint line "Id = Name".
inline QString point(const QString& id, const QString& name) {
    return id + QStringLiteral(" = ") + name;
}

class ReportFixture : public ProcessingWorld {
  public:
    ReportFixture();

    // A site folder with its "Raw" folder and a checkpoint list of these
    // checkpoint lines; then the sites are loaded as start-up does.
    void site(const QString& name, const QStringList& checkpointLines);
    // The day file "YYMMDD.txt" of a site.
    void dayFile(const QString& site, const QString& yymmdd, const QStringList& lines);

    // Runs Create/Open for a request of the site "Gate House".
    RequestOutcome run(ReportRequest request);
    // A clocking list of the advanced view.
    ReportRequest list(const QDate& from, const QString& fromTime, const QDate& to,
                       const QString& toTime) const;
    // An overview of the advanced view.
    ReportRequest overview(const QDate& from, const QDate& to, bool night) const;

    QString path(const QString& name) const { return dir.file(name); }
    QStringList requestFile() const { return readCrlfLines(path(QStringLiteral("Raw.txt"))); }
    // The clocking lines of the request file (without identity line and "Done").
    QStringList requestClockings() const;
};

}  // namespace dorodure::test

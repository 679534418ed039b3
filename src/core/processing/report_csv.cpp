#include "raw/raw_file.h"
#include "report_columns.h"
#include "report_section.h"
#include "shell/language_table.h"
#include "tamper_checks.h"

namespace dorodure {

namespace {

class CsvSection {
  public:
    CsvSection(const ReportRun& run, const SiteSection& section, const TLanguageTable& texts)
        : run_(run), section_(section), texts_(texts) {}

    QStringList build() {
        head();
        if (run_.frequencyPart) {
            frequency();
        }
        out_ << QStringLiteral("Date,Time,Interval,Code,Point");
        records();
        out_ << section_.warnings.lines;
        out_ << QString() << texts_.text(61)
             << texts_.text(62) + QLatin1Char(' ') + QLatin1String(kReportProgramVersion)
             << run_.aboutWeb;
        return out_;
    }

  private:
    void head();
    void frequency();
    void frequencyRows(const std::vector<TCheckpoint>& entries, const report::IdCounts& counts,
                       int& total);
    void records();
    QString recordRow(const QString& line, const QString& interval) const;

    const ReportRun& run_;
    const SiteSection& section_;
    const TLanguageTable& texts_;
    QStringList out_;
};

void CsvSection::head() {
    const report::Period period = report::sectionPeriod(section_.lines, run_.identity.longIdentity);
    out_ << QStringLiteral("Mobile Patrol Officer's Location visit Report") << QString();
    out_ << QStringLiteral("From,") + period.from << QStringLiteral("To,") + period.to
         << QStringLiteral("Downloaded,") + run_.downloadTime
         << QStringLiteral("For,") + run_.header << QStringLiteral("Site,") + section_.site
         << QString();
    out_ << QStringLiteral("Unit/User,") + run_.batonName << QString();
    out_ << QStringLiteral("Points clocked with this unit")
         << QStringLiteral("Code,Pointname,Times clocked");
}

void CsvSection::frequency() {
    const report::IdCounts counts(section_.lines);
    int total = 0;
    frequencyRows(section_.checkpoints->siteEntries(), counts, total);
    frequencyRows(section_.checkpoints->commonEntries(), counts, total);
    out_ << QStringLiteral("Total,,") + QString::number(total);
}

void CsvSection::frequencyRows(const std::vector<TCheckpoint>& entries,
                               const report::IdCounts& counts, int& total) {
    for (const TCheckpoint& entry : entries) {
        const int count = counts.of(entry.id);
        if (count <= 0) {
            continue;
        }
        total += count;
        out_ << report::quoted(entry.id) + QLatin1Char(',') + report::quoted(entry.locationName) +
                    QLatin1Char(',') + QString::number(count);
    }
}

// The interval runs over every record, flagged ones included; only plain
// records get a row.
void CsvSection::records() {
    report::IntervalClock interval;
    for (const QString& line : section_.lines) {
        if (line.size() < 22 || report::isUnitMarker(line)) {
            continue;
        }
        const QString elapsed = interval.next(line);
        if (report::isPlainRecord(line)) {
            out_ << recordRow(line, elapsed);
        }
    }
}

// A record that fails the check of a secure upload is written without quotes.
QString CsvSection::recordRow(const QString& line, const QString& interval) const {
    const QString id = rawfile::checkpointId(line);
    const TCheckpoint* entry = section_.checkpoints->find(id);
    const QString name = entry != nullptr ? entry->locationName : QString();
    const bool failed = run_.identity.longIdentity && !tamper::recordCheckPasses(line);
    const QString head = report::recordDate(line) + QLatin1Char(',') + report::recordTime(line) +
                         QLatin1Char(',') + interval + QLatin1Char(',');
    if (failed) {
        return head + id + QLatin1Char(',') + name;
    }
    return head + report::quoted(id) + QLatin1Char(',') + report::quoted(name);
}

}  // namespace

QStringList reportCsvSection(const ReportRun& run, const SiteSection& section,
                             const TLanguageTable& texts) {
    return CsvSection(run, section, texts).build();
}

}  // namespace dorodure

#include "raw/raw_file.h"
#include "report_columns.h"
#include "report_section.h"
#include "shell/language_table.h"

namespace dorodure {

namespace {

class TextSection {
  public:
    TextSection(const ReportRun& run, const SiteSection& section, const TLanguageTable& texts)
        : run_(run), section_(section), texts_(texts) {}

    QStringList build() {
        head();
        for (const QString& line : section_.lines) {
            data(line);
        }
        if (run_.frequencyPart) {
            frequency();
        }
        warnings();
        out_ << QString() << texts_.text(61)
             << texts_.text(62) + QLatin1Char(' ') + QLatin1String(kReportProgramVersion)
             << run_.aboutWeb;
        return out_;
    }

  private:
    void head();
    void data(const QString& line);
    void marker(const QString& line);
    void record(const QString& line);
    void frequency();
    void frequencyLines(const std::vector<TCheckpoint>& entries, const report::IdCounts& counts,
                        bool touchedOnly, int& total);
    void warnings();

    const ReportRun& run_;
    const SiteSection& section_;
    const TLanguageTable& texts_;
    report::IntervalClock interval_;
    QStringList out_;
};

void TextSection::head() {
    out_ << run_.header << QString();
    out_ << texts_.text(22) + QLatin1Char(' ') + section_.site << QString();
    if (run_.identity.longIdentity) {
        out_ << texts_.text(45) + QLatin1Char(' ') + run_.downloadTime;
        out_ << run_.identity.unitText;
        if (run_.identity.sorted) {
            out_ << texts_.text(46);
        }
    } else {
        out_ << texts_.text(21) + QLatin1Char(' ') + run_.downloadTime;
        out_ << texts_.text(38) + QStringLiteral(" (") + run_.batonName + QStringLiteral(")  Ver") +
                    run_.batonVersion;
    }
    out_ << QString() << texts_.text(39);
}

void TextSection::data(const QString& line) {
    if (line.size() < 22) {
        return;
    }
    if (report::isUnitMarker(line)) {
        marker(line);
    } else {
        record(line);
    }
}

void TextSection::marker(const QString& line) {
    out_ << texts_.text(44);
    out_ << report::recordDate(line) + QLatin1Char(' ') + report::markerTime(line) +
                QStringLiteral("  ") + texts_.text(38) + QStringLiteral(" (") +
                report::markerUnit(line) + QLatin1Char(')');
    out_ << texts_.text(44);
}

void TextSection::record(const QString& line) {
    const QString id = rawfile::checkpointId(line);
    const TCheckpoint* entry = section_.checkpoints->find(id);
    const bool special = entry != nullptr && entry->flag == u'#';
    const QString name = entry != nullptr ? entry->locationName : QString();
    if (special && !run_.identity.sorted && !run_.pointFilter && !run_.identity.noSeparator) {
        out_ << texts_.text(44);
    }
    QString open = QStringLiteral("  (");
    QString close = QStringLiteral(")   ");
    const bool separator = report::hasSeparatorFlag(line);
    if (separator) {
        open = QStringLiteral("  <");
        close = QStringLiteral(">   ");
    } else if (report::hasBracketFlag(line)) {
        open = QStringLiteral("  [");
        close = QStringLiteral("]   ");
    }
    out_ << report::recordDate(line) + QLatin1Char(' ') + report::recordTime(line) +
                QLatin1Char(' ') + interval_.next(line) + open + id + close + name;
    if (separator) {
        out_ << texts_.text(82);
    }
}

void TextSection::frequency() {
    out_ << QString() << QString() << texts_.text(24) << QString() << texts_.text(25);
    const report::IdCounts counts(section_.lines);
    int total = 0;
    frequencyLines(section_.checkpoints->siteEntries(), counts, false, total);
    frequencyLines(section_.checkpoints->commonEntries(), counts, true, total);
    out_ << QStringLiteral("-----------") << QString::number(total);
}

void TextSection::frequencyLines(const std::vector<TCheckpoint>& entries,
                                 const report::IdCounts& counts, bool touchedOnly, int& total) {
    for (const TCheckpoint& entry : entries) {
        const int count = counts.of(entry.id);
        if (touchedOnly && count <= 0) {
            continue;
        }
        total += count;
        out_ << QString::number(count).leftJustified(11, QLatin1Char(' ')) + QLatin1Char('(') +
                    entry.id + QStringLiteral(")   ") + entry.locationName;
    }
}

void TextSection::warnings() {
    if (!section_.warnings.any) {
        return;
    }
    out_ << QString() << QString() << QLatin1Char(' ') + texts_.text(72) << QString();
    out_ << section_.warnings.lines;
}

}  // namespace

QStringList reportTextSection(const ReportRun& run, const SiteSection& section,
                              const TLanguageTable& texts) {
    return TextSection(run, section, texts).build();
}

}  // namespace dorodure

#include "pdf/pdfprint.h"
#include "raw/raw_file.h"
#include "report_columns.h"
#include "report_section.h"
#include "shell/language_table.h"

namespace dorodure {

namespace {

void startDocument(PdfPrint& pdf, const ReportRun& run, const SiteSection& section,
                   const TLanguageTable& texts) {
    const bool secure = run.identity.longIdentity;
    const QString title = texts.text(secure ? 171 : 170) + QLatin1Char(' ') + run.header;
    const QString footer =
        run.footer + QStringLiteral("   Ver ") + QLatin1String(kReportProgramVersion);
    const QString subtitle =
        secure ? section.site
               : section.site + QStringLiteral(" - (") + run.identity.unitText + QLatin1Char(')');
    pdf.StartListDocument(title, footer, subtitle);
}

void addRecordRows(PdfPrint& pdf, const ReportRun& run, const SiteSection& section) {
    report::IntervalClock interval;
    for (const QString& line : section.lines) {
        if (line.size() < 22 || report::isUnitMarker(line)) {
            continue;
        }
        const QString elapsed = interval.next(line);
        if (!report::isPlainRecord(line)) {
            continue;
        }
        const TCheckpoint* entry = section.checkpoints->find(rawfile::checkpointId(line));
        const bool special = entry != nullptr && entry->flag == u'#';
        pdf.AddListRow(
            report::recordDate(line), report::recordTime(line) + QLatin1Char(' ') + elapsed,
            entry != nullptr ? entry->locationName : QString(), special && !run.identity.sorted, 0);
    }
}

void addFrequencyTable(PdfPrint& pdf, const SiteSection& section, const TLanguageTable& texts) {
    const std::vector<TCheckpoint>& entries = section.checkpoints->siteEntries();
    QStringList names;
    for (const TCheckpoint& entry : entries) {
        names << entry.locationName;
    }
    const report::IdCounts counts(section.lines);
    pdf.AddFrequencyTable(texts.text(24), texts.text(152), texts.text(153), counts.of(entries),
                          names);
}

void addWarnings(PdfPrint& pdf, const SiteSection& section, const TLanguageTable& texts) {
    if (!section.warnings.any) {
        return;
    }
    pdf.AddListLine(QString());
    pdf.AddListLine(texts.text(72));
    for (const QString& line : section.warnings.lines) {
        pdf.AddListLine(line);
    }
}

}  // namespace

void reportPdfSection(PdfPrint& pdf, const ReportRun& run, const SiteSection& section,
                      const TLanguageTable& texts, bool continueDocument) {
    if (continueDocument && pdf.hasDocument()) {
        pdf.AddListLine(QString());
        pdf.AddListLine(texts.text(22) + QLatin1Char(' ') + section.site);
    } else {
        startDocument(pdf, run, section, texts);
    }
    addRecordRows(pdf, run, section);
    if (run.frequencyPart) {
        addFrequencyTable(pdf, section, texts);
    }
    addWarnings(pdf, section, texts);
}

}  // namespace dorodure

#include "report_fixture.h"

#include "reports/report_view_state.h"

namespace dorodure::test {

namespace {

// Texts that come from the language file only; the tests give them fixed wording.
void setLanguageFileTexts(TLanguageTable& texts) {
    texts.setText(146, "Overview");
    texts.setText(147, "Start");
    texts.setText(148, "End");
    texts.setText(149, "Cannot read the request");
    texts.setText(150, "Nothing found");
    texts.setText(159, "Report date");
    texts.setText(160, "Unreadable clocking");
    texts.setText(161, "Night");
    texts.setText(162, "Day");
    texts.setText(165, "Patrol systems");
    texts.setText(169, "Page");
    texts.setText(174, "Report.pdf is in use");
}

}  // namespace

ReportFixture::ReportFixture() : ProcessingWorld(QDateTime(QDate(2011, 8, 12), QTime(9, 0, 0))) {
    setLanguageFileTexts(texts);
    setSettings([](SettingsValues& v) {
        v.reportHeader = "Weekly check";
        v.reportFooter = "Footer text";
    });
    QStringList pdfTexts;
    for (int n = 1; n <= PdfPrint::kPdfTexts; ++n) {
        pdfTexts << texts.text(n);
    }
    pdf->SetPdfTexts(pdfTexts);
    store = std::make_unique<TSiteStore>(dir.path());
    ctx.sites = store.get();
}

void ReportFixture::site(const QString& name, const QStringList& checkpointLines) {
    writeSiteFolder(name, checkpointLines, "//End of File");
    store->loadSites();
    store->rebuildSiteIds();
}

void ReportFixture::dayFile(const QString& site, const QString& yymmdd, const QStringList& lines) {
    writeCrlfLines(dir.file(site + "/Raw/" + yymmdd + ".txt"), lines);
}

RequestOutcome ReportFixture::run(ReportRequest request) {
    if (request.site.isEmpty()) {
        request.site = "Gate House";
    }
    return createReport(ctx, request);
}

ReportRequest ReportFixture::list(const QDate& from, const QString& fromTime, const QDate& to,
                                  const QString& toTime) const {
    ReportRequest r;
    r.kind = ReportKind::ClockingList;
    r.fromDate = from;
    r.toDate = to;
    r.fromTime = fromTime;
    r.toTime = toTime;
    return r;
}

ReportRequest ReportFixture::overview(const QDate& from, const QDate& to, bool night) const {
    ReportRequest r;
    r.kind = ReportKind::Overview;
    r.nightShift = night;
    const DateWindow w = applyDateRules({ReportKind::Overview, night, true, from, to});
    r.fromDate = w.fromDate;
    r.toDate = w.toDate;
    r.fromTime = w.fromTime;
    r.toTime = w.toTime;
    return r;
}

QStringList ReportFixture::requestClockings() const {
    QStringList lines = requestFile();
    if (!lines.isEmpty()) {
        lines.removeFirst();
    }
    if (!lines.isEmpty() && lines.last() == "Done") {
        lines.removeLast();
    }
    return lines;
}

}  // namespace dorodure::test

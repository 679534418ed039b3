// Step 3 of "Setup the check points": the settings check shown in colours,
// the patrol buttons, and "Program Next Baton" through to a simulated baton.
#include "app_services.h"
#include "frm_points.h"
#include "link/link_host.h"
#include "link/shared_line.h"
#include "link/sim/simulated_station.h"
#include "link/upload_session.h"
#include "processing/raw/raw_file.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

const QDateTime kNow(QDate(2024, 12, 31), QTime(23, 59));

class PointsPatrolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data.mkdir("North");
        AppOptions options;
        options.dataFolder = data.path();
        options.clock = &clock;
        options.ui = &ui;
        options.demo = true;
        services = std::make_unique<AppServices>(options);
        services->sites().loadSites();
        TSiteSettings s = TSiteSettings::editorDefaults();
        s.roundTime = "060";
        s.restTime = "000";
        s.numBatons = "1";
        s.failedPatrolType = 1;
        s.startTimes.fill("06h00");
        s.finishTimes.fill("18h00");
        services->sites().writeCheckpointList(
            "North", {{"0FA500", u'=', "Gate"}, {"000002", u'=', "Door"}, {"000003", u'=', "Yard"}},
            s);
        form = std::make_unique<Tfrmpoints>(*services);
        form->show();
    }
    void TearDown() override { form.reset(); }

    template <typename T>
    T* child(const QString& name) const {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QLineEdit* edit(int n) const { return child<QLineEdit>(QStringLiteral("MaskEdit%1").arg(n)); }
    // Types a value and leaves the field.
    void enter(int n, const QString& value) {
        edit(n)->setText(value);
        emit edit(n)->editingFinished();
    }
    bool red(const QString& name) const {
        return child<QWidget>(name)->palette().color(QPalette::Text) == QColor(Qt::red);
    }
    bool warningShown() const {
        return !child<QLabel>("Label13")->isHidden() && !child<QPushButton>("Button6")->isHidden();
    }
    bool programEnabled() const { return child<QPushButton>("Button5")->isEnabled(); }
    TSiteSettings saved() const { return services->sites().readCheckpointList("North").settings; }

    test::TempDataFolder data;
    ManualClock clock{kNow};
    test::ScriptedInteraction ui;
    std::unique_ptr<AppServices> services;
    std::unique_ptr<Tfrmpoints> form;
};

TEST_F(PointsPatrolTest, LoadedSettingsAreShownAndPass) {
    EXPECT_EQ(edit(1)->displayText(), "060");
    EXPECT_EQ(edit(2)->displayText(), "06h00");
    EXPECT_EQ(edit(17)->displayText(), "18h00");
    EXPECT_EQ(child<QComboBox>("ComboBox2")->currentText(), "Single Baton");
    EXPECT_FALSE(warningShown());
    EXPECT_TRUE(programEnabled());
}

TEST_F(PointsPatrolTest, RoundTime020IsRedAndAutoCorrectMakesIt030) {
    enter(1, "020");
    EXPECT_TRUE(red("MaskEdit1"));
    EXPECT_TRUE(red("Label7"));
    EXPECT_FALSE(red("MaskEdit4"));
    EXPECT_TRUE(warningShown());
    EXPECT_FALSE(programEnabled());
    EXPECT_EQ(saved().roundTime, "020");
    child<QPushButton>("Button6")->click();
    EXPECT_EQ(edit(1)->displayText(), "030");
    EXPECT_FALSE(red("MaskEdit1"));
    EXPECT_FALSE(warningShown());
    EXPECT_TRUE(programEnabled());
    EXPECT_EQ(saved().roundTime, "030");
}

TEST_F(PointsPatrolTest, TypeNoneShowsNothingRedAndCannotProgram) {
    enter(1, "020");
    QComboBox* type = child<QComboBox>("ComboBox2");
    type->setCurrentIndex(0);
    emit type->activated(0);
    EXPECT_FALSE(red("MaskEdit1"));
    EXPECT_FALSE(warningShown());
    EXPECT_FALSE(programEnabled());
    EXPECT_EQ(saved().failedPatrolType, 0);
}

TEST_F(PointsPatrolTest, WeekdayButtons) {
    enter(6, "09h00");  // Tuesday start
    EXPECT_TRUE(red("MaskEdit6"));
    EXPECT_FALSE(red("MaskEdit8"));
    EXPECT_TRUE(warningShown());
    EXPECT_TRUE(programEnabled());
    child<QPushButton>("Button8")->click();  // All Days the Same
    EXPECT_EQ(edit(6)->displayText(), "06h00");
    EXPECT_FALSE(warningShown());
    EXPECT_EQ(saved().startTimes[1], "06h00");
    child<QPushButton>("Button9")->click();  // 24 Hour Patrols
    EXPECT_EQ(edit(3)->displayText(), "01h00");
    EXPECT_EQ(edit(16)->displayText(), "01h00");
    TSiteSettings all24 = saved();
    EXPECT_EQ(all24.startTimes[6], "01h00");
    EXPECT_EQ(all24.finishTimes[0], "01h00");
}

TEST_F(PointsPatrolTest, ButtonEnabledByAWeekdayStillRefusesARoundTimeOutOfSteps) {
    enter(1, "020");
    enter(7, "17h00");  // Tuesday finish
    ASSERT_TRUE(programEnabled());
    child<QPushButton>("Button5")->click();
    EXPECT_EQ(ui.messages, QStringList{"Round trip time must be in intervals of 15 minutes"});
    EXPECT_FALSE(services->requests().writePending());
    EXPECT_TRUE(form->isVisible());
}

// The main thread as the baton link sees it: the upload is taken as
// processed at once.
class DoneHost : public LinkHost {
  public:
    explicit DoneHost(QString raw) : raw_(std::move(raw)) {}
    void doRaw(const TBatonInfo&) override {
        const QStringList lines = textfile::readLinesIfExists(raw_);
        if (lines.isEmpty() || !rawfile::isDone(lines.last())) {
            textfile::appendLine(raw_, QStringLiteral("Done"));
        }
    }
    void logActivity(const QString&, const QString&) override {}
    bool idButtonRead(const QString&) override { return false; }

  private:
    QString raw_;
};

TEST_F(PointsPatrolTest, ProgramNextBatonReachesTheBatonOnTheStation) {
    child<QPushButton>("Button5")->click();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(services->requests().writePending());
    const std::vector<BatonRequests::Record> block = services->requests().block();
    ASSERT_EQ(block.size(), 28u);  // 4 + 6 + 18
    EXPECT_EQ(block.front(), (BatonRequests::Record{0x0F, 0xA5, 0x00, 0x01, 0x70, 0x23, 0x59}));
    const QStringList log = test::readCrlfLines(data.file(TActivityLog::fileNameFor(kNow.date())));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(
        log[0].endsWith("\"North\",\"Programmed a failed patrol with the following "
                        "settings FPType:Single Baton RT:060 ST:06h00 FT:18h00 "
                        "TT:000 B:1\""));

    // The next baton placed on the station receives the block.
    services->settings().load();
    DoneHost host(data.file("Raw.txt"));
    LinkServices link{clock,
                      services->texts(),
                      services->settings(),
                      services->display(),
                      services->requests(),
                      host,
                      data.path(),
                      nullptr};
    auto station = std::make_shared<sim::SimulatedStation>(clock);
    std::atomic<bool> stop{false};
    UploadSession session(
        link,
        [station](int port) -> std::unique_ptr<SerialLine> {
            return port == 1 ? std::make_unique<SharedLine>(station) : nullptr;
        },
        stop);
    session.discover();
    session.prepareLoop();
    sim::BatonSetup baton;
    baton.banks[0] = {sim::BatonRecord{0x0000A1, 0x05, 0x12, 0x10, 0x30}};
    station->place(baton);
    const qint64 end = clock.tickMs() + 120000;
    while (services->requests().writePending() && clock.tickMs() < end) {
        session.runPass();
    }
    for (int i = 0; i < 50; ++i) {
        session.runPass();
    }
    ASSERT_FALSE(services->requests().writePending());
    const std::optional<sim::Baton> onStation = station->baton();
    ASSERT_TRUE(onStation.has_value());
    EXPECT_EQ(onStation->bankSize(0), 28 * 8 + 8);
    const std::vector<sim::BatonRecord> written = onStation->records(0);
    ASSERT_EQ(written.size(), 28u);
    for (std::size_t i = 0; i < written.size(); ++i) {
        const BatonRequests::Record& r = block[i];
        EXPECT_EQ(written[i].buttonId, std::uint32_t(r[0] << 16 | r[1] << 8 | r[2])) << i;
        EXPECT_EQ(written[i].month, r[3]) << i;
        EXPECT_EQ(written[i].day, r[4]) << i;
        EXPECT_EQ(written[i].hour, r[5]) << i;
        EXPECT_EQ(written[i].minute, r[6]) << i;
    }
    EXPECT_EQ(written[4].buttonId, 0x000002u);
    EXPECT_EQ(written[10].buttonId, 0x000003u);
}

TEST_F(PointsPatrolTest, MissingListIsReportedAndClosesTheEditor) {
    QFile::remove(data.file("North/checkpt.lst"));
    child<QPushButton>("Button5")->click();
    EXPECT_EQ(ui.messages, QStringList{"There are no checkpoints in the site \"North\""});
    EXPECT_FALSE(services->requests().writePending());
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace dorodure

// The About window: activation and the system check against a check file
// served from this machine.
#include "app_services.h"
#include "frm_about.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "test_support.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

// Answers every request with one HTTP response holding the check file.
class CheckFileServer {
  public:
    explicit CheckFileServer(const QStringList& lines) : body_(test::crlf(lines)) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            QTcpSocket* socket = server_.nextPendingConnection();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                request_ += socket->readAll();
                if (!request_.contains("\r\n\r\n")) {
                    return;
                }
                ++requests_;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                              QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n" +
                              body_);
                socket->disconnectFromHost();
            });
        });
    }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/check.txt").arg(server_.serverPort());
    }
    int requests() const { return requests_; }

  private:
    QTcpServer server_;
    QByteArray body_;
    QByteArray request_;
    int requests_ = 0;
};

class AboutWindowTest : public ::testing::Test {
  protected:
    AboutWindowTest() {
        services.texts().loadLanguageFile(QStringLiteral(DORODURE_SOURCE_DIR "/data/English.lng"));
    }
    QStringList memo() {
        return form.findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
    }
    QLabel* label5() { return form.findChild<QLabel*>("Label5"); }
    void runCheck(const QStringList& checkFile) {
        CheckFileServer server(checkFile);
        SupportAddresses a = form.supportAddresses();
        a.checkFile = server.url();
        form.setSupportAddresses(a);
        form.findChild<QPushButton*>("Button2")->click();
        EXPECT_EQ(server.requests(), 1);
    }

    test::TempDataFolder data;
    ManualClock clock{QDateTime(QDate(2023, 5, 2), QTime(9, 0))};
    test::ScriptedInteraction ui;
    AppServices services{AppOptions{data.path(), &clock, &ui, nullptr, {}, false, {}, {}}};
    TfrmAbout form{services};
};

TEST_F(AboutWindowTest, ActivationSetsTheTextsAndIsLogged) {
    form.show();
    const TLanguageTable& t = services.texts();
    EXPECT_EQ(form.windowTitle(), t.text(145));
    EXPECT_EQ(form.findChild<QLabel*>("lblVer")->text(), "1.04s");
    EXPECT_EQ(form.findChild<QLabel*>("Label11")->text(), t.text(144) + " 24/04/2023");
    EXPECT_EQ(form.findChild<QPushButton*>("Button2")->text(), t.text(121));
    EXPECT_TRUE(label5()->isHidden());
    const QStringList log =
        test::readCrlfLines(data.file(TActivityLog::fileNameFor(clock.now().date())));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith("\"none\",\"Entered the About screen\""));
    form.hide();
}

TEST_F(AboutWindowTest, CheckAnnouncesANewerRelease) {
    const TLanguageTable& t = services.texts();
    runCheck({"01/02/2024", "1.05", "All", "end"});
    const QString announced = t.text(127) + " 1.05 " + t.text(128);
    EXPECT_EQ(label5()->text(), announced);
    EXPECT_FALSE(label5()->isHidden());
    const QStringList lines = memo();
    EXPECT_TRUE(lines[0].startsWith("Local : "));
    EXPECT_EQ(lines[1], t.text(125));
    EXPECT_EQ(lines[2], "  " + announced);
    EXPECT_EQ(lines.last(), t.text(143));
    EXPECT_TRUE(lines.contains("  " + t.text(141)));  // no upload station found yet
    EXPECT_EQ(test::readCrlfLines(data.file("temp")).value(1), "1.05");
    EXPECT_FALSE(services.closeRequested);
}

TEST_F(AboutWindowTest, CheckOfThisReleaseSaysUpToDate) {
    runCheck({"24/04/2023", "1.04s", "1.04s", "end"});
    EXPECT_EQ(label5()->text(), services.texts().text(126));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(AboutWindowTest, CheckFileNamingTheShortVersionClosesTheProgram) {
    form.show();
    runCheck({"24/04/2023", "1.04s", "1.04", "end"});
    EXPECT_EQ(ui.messages, QStringList{"Sorry Somthing bad happend error 400"});
    EXPECT_TRUE(services.closeRequested);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(QFile::exists(data.file("temp")));
}

TEST_F(AboutWindowTest, UnreachableCheckFileIsReported) {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    SupportAddresses a = form.supportAddresses();
    a.checkFile = QStringLiteral("http://127.0.0.1:%1/check.txt").arg(port);
    form.setSupportAddresses(a);
    form.Button2Click();
    EXPECT_EQ(memo().value(2), "  " + services.texts().text(129));
    EXPECT_TRUE(label5()->isHidden());
}

TEST_F(AboutWindowTest, HelpLinksOpenTheDataFolderFiles) {
    form.Label9Click();
    form.Label17Click();
    form.Label15Click();
    EXPECT_EQ(ui.opened, (QStringList{data.file("Install.pdf"), data.file("Basic.pdf"),
                                      data.file("Advanced.pdf")}));
    form.Label2Click();
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith(services.texts().text(124) + '\r'));
}

}  // namespace
}  // namespace dorodure

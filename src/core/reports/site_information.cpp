#include "site_information.h"

#include "report_texts.h"
#include "shell/language_table.h"
#include "shell/text_file.h"
#include "sites/site_store.h"

namespace dorodure {

const char* const kNoPatrolSeparator = "(000000) Patrol Seperator";

namespace {

constexpr int kFirstCheckpointLine = 2;  // 0-based: line 3
constexpr int kShortestCheckpointLine = 7;
constexpr int kNameColumn = 9;  // 0-based: column 10

QString separatorText(const std::vector<TCheckpoint>& checkpoints) {
    QString text = QString::fromLatin1(kNoPatrolSeparator);
    for (const TCheckpoint& c : checkpoints) {
        if (c.flag == u'#') {
            text = checkpointEntryText(c.id, c.locationName);
        }
    }
    return text;
}

int separatorIndex(const std::vector<TCheckpoint>& checkpoints) {
    int index = 0;
    for (int i = 0; i < int(checkpoints.size()); ++i) {
        if (checkpoints[i].flag == u'#') {
            index = i + 1;
        }
    }
    return index;
}

}  // namespace

std::vector<ReportCheckpoint> readReportCheckpoints(const QString& listPath) {
    const QStringList lines = textfile::readLinesIfExists(listPath);
    std::vector<ReportCheckpoint> checkpoints;
    for (qsizetype i = kFirstCheckpointLine; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.size() < kShortestCheckpointLine) {
            break;
        }
        checkpoints.push_back({line.left(6), line.mid(kNameColumn)});
    }
    return checkpoints;
}

SiteInformation loadSiteInformation(TSiteStore& store, const TLanguageTable& texts,
                                    const QString& site) {
    SiteInformation info;
    info.listCreated = !textfile::exists(store.checkpointListPath(site));
    const CheckpointList list = store.readCheckpointList(site);
    info.checkpointCount = int(list.checkpoints.size());
    info.roundTime = list.settings.roundTime;
    info.restTime = list.settings.restTime;
    info.numBatons = list.settings.numBatons;
    info.startTimes = list.settings.startTimes;
    info.finishTimes = list.settings.finishTimes;
    info.patrolSeparator = separatorText(list.checkpoints);
    for (const TCheckpoint& c : list.checkpoints) {
        info.pointSelector << checkpointEntryText(c.id, c.locationName);
    }
    info.patrolSeparatorList << texts.text(reporttext::kNone) << info.pointSelector;
    info.patrolSeparatorIndex = separatorIndex(list.checkpoints);
    return info;
}

void choosePatrolSeparator(TSiteStore& store, const QString& site, int entryIndex) {
    CheckpointList list = store.readCheckpointList(site);
    QString chosenId;
    if (entryIndex > 0 && entryIndex <= int(list.checkpoints.size())) {
        chosenId = list.checkpoints[entryIndex - 1].id;
    }
    for (TCheckpoint& c : list.checkpoints) {
        c.flag = (!chosenId.isEmpty() && c.id == chosenId) ? u'#' : u'=';
    }
    store.writeCheckpointList(site, list.checkpoints, list.settings);
}

}  // namespace dorodure

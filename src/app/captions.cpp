#include "captions.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVariant>

namespace dorodure {

namespace {

using Kind = CaptionTarget::Kind;

void setCaption(QObject* control, const QString& text) {
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        group->setTitle(text);
    } else if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(text);
    } else if (control->metaObject()->indexOfProperty("text") >= 0) {
        control->setProperty("text", text);
    } else if (control->metaObject()->indexOfProperty("title") >= 0) {
        control->setProperty("title", text);
    }
}

QString caption(QObject* control) {
    if (auto* group = qobject_cast<QGroupBox*>(control)) {
        return group->title();
    }
    if (auto* menu = qobject_cast<QMenu*>(control)) {
        return menu->title();
    }
    if (control->metaObject()->indexOfProperty("text") >= 0) {
        return control->property("text").toString();
    }
    return control->property("title").toString();
}

QAbstractItemModel* columnModel(QObject* control) {
    auto* view = qobject_cast<QAbstractItemView*>(control);
    return view ? view->model() : nullptr;
}

void setColumn(QObject* control, int column, const QString& text) {
    if (auto* tree = qobject_cast<QTreeWidget*>(control)) {
        if (column >= tree->columnCount()) {
            tree->setColumnCount(column + 1);
        }
        tree->headerItem()->setText(column, text);
    } else if (QAbstractItemModel* model = columnModel(control)) {
        model->setHeaderData(column, Qt::Horizontal, text);
    }
}

QString columnText(QObject* control, int column) {
    if (auto* tree = qobject_cast<QTreeWidget*>(control)) {
        return tree->headerItem()->text(column);
    }
    if (QAbstractItemModel* model = columnModel(control)) {
        return model->headerData(column, Qt::Horizontal).toString();
    }
    return {};
}

QTabBar* tabBarOf(QObject* control) {
    if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
        return tabs->tabBar();
    }
    return qobject_cast<QTabBar*>(control);
}

// Item 1 empties the list first; each item line then adds its entry. The
// entry shown before keeps its position when the list is refilled.
void setItem(QObject* control, int item, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        const int shown = combo->currentIndex();
        if (item == 1) {
            combo->clear();
        }
        combo->addItem(text);
        if (shown >= 0 && shown < combo->count()) {
            combo->setCurrentIndex(shown);
        }
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        if (item == 1) {
            list->clear();
        }
        list->addItem(text);
    }
}

QString itemText(QObject* control, int item) {
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        return combo->itemText(item - 1);
    }
    if (auto* list = qobject_cast<QListWidget*>(control)) {
        return list->item(item - 1) ? list->item(item - 1)->text() : QString();
    }
    return {};
}

void setMemo(QObject* control, bool clear, const QString& text) {
    if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        if (clear) {
            memo->clear();
        } else {
            memo->appendPlainText(text);
        }
    }
}

QString memoLine(QObject* control, int line) {
    auto* memo = qobject_cast<QPlainTextEdit*>(control);
    return memo ? memo->document()->findBlockByNumber(line - 1).text() : QString();
}

void apply(QWidget* form, const CaptionText& c) {
    const CaptionTarget& t = c.target;
    if (t.kind == Kind::Title) {
        form->setWindowTitle(c.text);
        return;
    }
    QObject* control = captionControl(form, t.control);
    if (!control) {
        return;
    }
    switch (t.kind) {
        case Kind::Caption:
        case Kind::Menu:
            setCaption(control, c.text);
            break;
        case Kind::Column:
            setColumn(control, t.index - 1, c.text);
            break;
        case Kind::Tab:
            if (QTabBar* bar = tabBarOf(control)) {
                bar->setTabText(t.index - 1, c.text);
            }
            break;
        case Kind::Item:
            setItem(control, t.index, c.text);
            break;
        case Kind::DialogTitle:
            if (auto* widget = qobject_cast<QWidget*>(control)) {
                widget->setWindowTitle(c.text);
            } else {
                control->setProperty("dialogTitle", c.text);
            }
            break;
        case Kind::MemoClear:
        case Kind::MemoLine:
            setMemo(control, t.kind == Kind::MemoClear, c.text);
            break;
        case Kind::Title:
        case Kind::Entry:
            break;
    }
}

// Gives a window at least the room its layout asks for after its texts changed.
void fitToTexts(QWidget* form) {
    if (form->layout()) {
        form->layout()->activate();
    }
    if (form->isWindow()) {
        form->resize(form->size().expandedTo(form->minimumSizeHint()));
    }
}

}  // namespace

QObject* captionControl(QWidget* form, const QString& control) {
    if (control.isEmpty()) {
        return nullptr;
    }
    return form->findChild<QObject*>(control);
}

void applyCaptions(QWidget* form, const QStringList& lines) {
    if (!form || form->objectName().isEmpty()) {
        return;
    }
    const std::vector<CaptionText> captions = captionsForForm(lines, form->objectName());
    for (const CaptionText& c : captions) {
        apply(form, c);
    }
    if (!captions.empty()) {
        fitToTexts(form);
    }
}

void applyCaptionsToAllWindows(const QStringList& lines) {
    if (lines.size() != TLanguageTable::kFileLines) {
        return;
    }
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->objectName().startsWith(QLatin1String("frm"))) {
            applyCaptions(widget, lines);
            if (auto* aware = dynamic_cast<LanguageAware*>(widget)) {
                aware->languageApplied();
            }
        }
    }
}

QString captionOf(QWidget* form, const CaptionTarget& t) {
    if (t.kind == Kind::Title) {
        return form->windowTitle();
    }
    QObject* control = captionControl(form, t.control);
    if (!control) {
        return {};
    }
    switch (t.kind) {
        case Kind::Caption:
        case Kind::Menu:
            return caption(control);
        case Kind::Column:
            return columnText(control, t.index - 1);
        case Kind::Tab:
            return tabBarOf(control) ? tabBarOf(control)->tabText(t.index - 1) : QString();
        case Kind::Item:
            return itemText(control, t.index);
        case Kind::DialogTitle:
            return qobject_cast<QWidget*>(control) ? qobject_cast<QWidget*>(control)->windowTitle()
                                                   : control->property("dialogTitle").toString();
        case Kind::MemoLine:
            return memoLine(control, t.index);
        case Kind::MemoClear:
        case Kind::Title:
        case Kind::Entry:
            break;
    }
    return {};
}

}  // namespace dorodure

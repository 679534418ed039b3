#pragma once

#include "shell/language_table.h"

#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace dorodure {

// A window that does more than take its captions when a language file has
// been applied (the Reports window unchecks "Sort by checkpoints", the main
// window shows its "Failed Patrol" menu entry).
class LanguageAware {
  public:
    virtual ~LanguageAware() = default;
    virtual void languageApplied() = 0;
};

// Applies the captions a language file gives one window, found by the form's
// object name ("frmNew", "frmPref", ...): every target is looked up among the
// form's children by its control name and set (label and button texts, group
// titles, menu entries, list columns, tabs, list items, the site-deletion
// text; the form's title). Targets whose control the window does not have are
// left out. Nothing happens unless lines are the 351 lines of a language file.
// Afterwards the window grows where its layout needs more room.
void applyCaptions(QWidget* form, const QStringList& lines);

// applyCaptions for every window of the program that exists (every widget
// whose object name starts with "frm"), then languageApplied() for those that
// implement LanguageAware.
void applyCaptionsToAllWindows(const QStringList& lines);

// The text one target shows now, read the way applyCaptions sets it (for an
// item, the item's text; for a memo line, that line); empty when the control
// does not exist. Lets the language switch be checked window by window.
QString captionOf(QWidget* form, const CaptionTarget& target);

// The control a target names: the form's child of that object name (a
// widget, a menu or an action), or null.
QObject* captionControl(QWidget* form, const QString& control);

}  // namespace dorodure

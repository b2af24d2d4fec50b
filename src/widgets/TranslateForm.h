#pragma once

#include <QString>

class QObject;
class QWidget;

namespace quenyx::modGlobalization {

// The text of a localization key as the forms show it; the empty text when the catalog has none.
QString Text(const char* key);

// Gives a control (or a form) the localization key of its caption. A key ending in ":" stands for the
// key's text followed by a colon.
void SetTag(QObject* control, const char* key);

// Puts the texts of the controls' Tags onto their captions, then the form's own Tag onto its title. A key
// the catalog has no text for leaves the design caption.
void TranslateForm(QWidget* form);

} // namespace quenyx::modGlobalization

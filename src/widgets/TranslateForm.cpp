#include "widgets/TranslateForm.h"

#include "platform/modGlobalization.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace quenyx::modGlobalization {

namespace {

constexpr const char* kTagProperty = "Tag";

QString Tag(const QObject* object)
{
    return object->property(kTagProperty).toString();
}

QString TextOf(const QString& key)
{
    return QString::fromStdString(GetLocalizedString(key.toStdString()));
}

void SetCaption(QWidget* control, const QString& caption)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(caption);
}

} // namespace

QString Text(const char* key)
{
    return QString::fromStdString(GetLocalizedString(key));
}

void SetTag(QObject* control, const char* key)
{
    control->setProperty(kTagProperty, QString::fromUtf8(key));
}

void TranslateForm(QWidget* form)
{
    for (QWidget* control : form->findChildren<QWidget*>()) {
        const QString tag = Tag(control);
        if (tag.isEmpty())
            continue;
        const bool colon = tag.endsWith(QLatin1Char(':'));
        const QString text = TextOf(colon ? tag.chopped(1) : tag);
        if (!text.isEmpty())
            SetCaption(control, colon ? text + QLatin1Char(':') : text);
    }
    const QString formTag = Tag(form);
    if (!formTag.isEmpty()) {
        const QString text = TextOf(formTag);
        if (!text.isEmpty())
            form->setWindowTitle(text);
    }
}

} // namespace quenyx::modGlobalization

#include "platform/widgets/FormLoader.h"

#include "platform/widgets/Tr.h"

#include <QBuffer>
#include <QHash>
#include <QWidget>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

QHash<QString, TWidgetFactory>& Registry()
{
    static QHash<QString, TWidgetFactory> registry;
    return registry;
}

// The form with the text of each <string> in the program's language, except those
// marked notr="true" (the glyph codes of symbol-font captions); a comment is the
// text's context. The form is changed before Qt reads it, so every property is
// applied once, already translated, in the order the form lists them.
QByteArray TranslatedForm(const QByteArray& form)
{
    QByteArray translated;
    QXmlStreamReader reader(form);
    QXmlStreamWriter writer(&translated);
    bool inText = false;
    QByteArray context;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            inText = reader.name() == u"string" && reader.attributes().value(QStringLiteral("notr")) != u"true";
            context = reader.attributes().value(QStringLiteral("comment")).toUtf8();
        } else if (reader.isCharacters() && inText) {
            const QByteArray source = reader.text().toUtf8();
            writer.writeCharacters(context.isEmpty() ? Tr(source.constData()) : Tr(context.constData(), source.constData()));
            continue;
        } else if (reader.isEndElement()) {
            inText = false;
        }
        writer.writeCurrentToken(reader);
    }
    return reader.hasError() ? form : translated;
}

} // namespace

TFormLoader::TFormLoader(QObject* parent)
    : QUiLoader(parent)
{
}

void TFormLoader::RegisterClass(const QString& className, TWidgetFactory factory)
{
    Registry().insert(className, std::move(factory));
}

bool TFormLoader::IsRegistered(const QString& className)
{
    return Registry().contains(className);
}

QWidget* TFormLoader::Load(QIODevice& form, QWidget* parent)
{
    setTranslationEnabled(false);
    QBuffer translated;
    translated.setData(TranslatedForm(form.readAll()));
    translated.open(QIODevice::ReadOnly);
    return load(&translated, parent);
}

QWidget* TFormLoader::createWidget(const QString& className, QWidget* parent, const QString& name)
{
    const auto factory = Registry().constFind(className);
    if (factory == Registry().constEnd())
        return QUiLoader::createWidget(className, parent, name);
    QWidget* widget = (*factory)(parent);
    widget->setObjectName(name);
    return widget;
}

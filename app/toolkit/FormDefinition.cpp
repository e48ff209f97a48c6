// The window definition reader: parses a .ui file into TFormDefinition and checks every setting.
#include "app/toolkit/FormDefinition.h"

#include <QFile>
#include <QStringList>
#include <QXmlStreamReader>
#include <utility>

namespace {

// What a <property> holds: the kind of its value (string, number, rect, iconset, ...), the text
// of a plain value or the file of an icon, and a rectangle's left and top.
struct TPropertyValue {
    QString Kind;
    QString Text;
    QPoint TopLeft;
};

// Reads the <property> element the reader stands on, up to and including its end.
TPropertyValue ReadProperty(QXmlStreamReader& xml) {
    TPropertyValue value;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView name = xml.name();
        if (value.Kind.isEmpty()) {
            value.Kind = name.toString();
        }
        if (name == QLatin1String("x")) {
            value.TopLeft.setX(xml.readElementText().toInt());
        } else if (name == QLatin1String("y")) {
            value.TopLeft.setY(xml.readElementText().toInt());
        } else if (name == QLatin1String("normaloff") || name == QLatin1String("string") ||
                   name == QLatin1String("number")) {
            value.Text = xml.readElementText().trimmed();
        } else {
            ++depth;
        }
    }
    return value;
}

std::string WithoutParameters(const QString& text) {
    const qsizetype bracket = text.indexOf('(');
    return (bracket < 0 ? text : text.left(bracket)).trimmed().toStdString();
}

// Reads the <connection> element the reader stands on.
TConnection ReadConnection(QXmlStreamReader& xml) {
    TConnection connection;
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        const QString text = xml.readElementText();
        if (name == "sender") {
            connection.Sender = text.trimmed().toStdString();
        } else if (name == "signal") {
            connection.Event = WithoutParameters(text);
        } else if (name == "slot") {
            connection.Handler = WithoutParameters(text);
        }
    }
    return connection;
}

class TSettingsReader {
  public:
    explicit TSettingsReader(const QString& path) : path_(path) {}

    void Apply(const QString& property, const TPropertyValue& value, TFormSettings& settings) {
        if (property == "formStyle") {
            settings.FormStyle = Choice<TFormStyle>(property, value.Text,
                                                    {{"fsNormal", TFormStyle::fsNormal},
                                                     {"fsMDIForm", TFormStyle::fsMDIForm},
                                                     {"fsMDIChild", TFormStyle::fsMDIChild},
                                                     {"fsStayOnTop", TFormStyle::fsStayOnTop}});
        } else if (property == "borderStyle") {
            settings.BorderStyle =
                Choice<TBorderStyle>(property, value.Text,
                                     {{"bsSizeable", TBorderStyle::bsSizeable},
                                      {"bsDialog", TBorderStyle::bsDialog},
                                      {"bsToolWindow", TBorderStyle::bsToolWindow}});
        } else if (property == "borderIcons") {
            settings.BorderIcons = BorderIcons(value.Text);
        } else if (property == "position") {
            settings.Position = Choice<TPosition>(property, value.Text,
                                                  {{"poDesigned", TPosition::poDesigned},
                                                   {"poScreenCenter", TPosition::poScreenCenter},
                                                   {"poDefault", TPosition::poDefault}});
        } else if (property == "color") {
            settings.Color = static_cast<TColor>(Number(property, value.Text));
        } else if (property == "clientWidth") {
            settings.ClientWidth = static_cast<int>(Number(property, value.Text));
        } else if (property == "clientHeight") {
            settings.ClientHeight = static_cast<int>(Number(property, value.Text));
        } else if (property == "geometry") {
            settings.DesignedPosition = value.TopLeft;
        }
    }

  private:
    [[noreturn]] void Fail(const QString& property, const QString& value) const {
        throw EFormDefinitionError(
            QString("%1: unknown %2 value \"%3\"").arg(path_, property, value).toStdString());
    }

    template <class E>
    E Choice(const QString& property, const QString& value,
             std::initializer_list<std::pair<const char*, E>> choices) const {
        for (const auto& [name, choice] : choices) {
            if (value == QLatin1String(name)) {
                return choice;
            }
        }
        Fail(property, value);
    }

    long long Number(const QString& property, const QString& value) const {
        bool ok = false;
        const long long number = value.toLongLong(&ok);
        if (!ok) {
            Fail(property, value);
        }
        return number;
    }

    TBorderIcons BorderIcons(const QString& value) const {
        TBorderIcons icons{false, false, false};
        for (const QString& item : value.split(',', Qt::SkipEmptyParts)) {
            const QString name = item.trimmed();
            if (name == "biSystemMenu") {
                icons.SystemMenu = true;
            } else if (name == "biMinimize") {
                icons.Minimize = true;
            } else if (name == "biMaximize") {
                icons.Maximize = true;
            } else {
                Fail("borderIcons", name);
            }
        }
        return icons;
    }

    QString path_;
};

QByteArray WithoutConnections(QByteArray data) {
    const qsizetype begin = data.indexOf("<connections>");
    const qsizetype end = data.indexOf("</connections>");
    if (begin >= 0 && end > begin) {
        data.remove(begin, end + qsizetype(sizeof("</connections>") - 1) - begin);
    }
    return data;
}

} // namespace

TFormDefinition ReadFormDefinition(const QString& definition) {
    const QString path = (definition.startsWith(':') || definition.contains('/'))
                             ? definition
                             : QString(":/forms/%1.ui").arg(definition);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EFormDefinitionError(path.toStdString() + ": the window definition cannot be read");
    }
    return ParseFormDefinition(path, file.readAll());
}

TFormDefinition ParseFormDefinition(const QString& path, const QByteArray& data) {
    TFormDefinition definition;
    definition.Path = path;
    TSettingsReader settings(path);
    QXmlStreamReader xml(data);
    QStringList elements;
    int widgetDepth = 0;
    // Properties come before a widget's children, so they belong to the last one opened.
    QString owner;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (xml.name() == QLatin1String("widget")) {
                --widgetDepth;
            }
            elements.removeLast();
            continue;
        }
        if (token != QXmlStreamReader::StartElement) {
            continue;
        }
        const QString name = xml.name().toString();
        const QString nameAttribute = xml.attributes().value("name").toString();
        if (name == "widget" || name == "action") {
            owner = nameAttribute;
        }
        if (name == "widget" && ++widgetDepth == 1) {
            definition.ClassName = xml.attributes().value("class").toString();
            definition.FormName = nameAttribute;
        }
        if (name == "property") {
            const bool ofTheWindow = widgetDepth == 1 && elements.last() == "widget";
            const TPropertyValue value = ReadProperty(xml);
            if (nameAttribute == "icon" || nameAttribute == "windowIcon") {
                if (!value.Text.isEmpty()) {
                    definition.Icons.push_back({owner, nameAttribute.toUtf8(), value.Text});
                }
            } else if (ofTheWindow) {
                settings.Apply(nameAttribute, value, definition.Settings);
            }
            continue;
        }
        if (name == "connection") {
            definition.Connections.push_back(ReadConnection(xml));
            continue;
        }
        elements << name;
    }
    if (xml.hasError()) {
        throw EFormDefinitionError(path.toStdString() + ": " + xml.errorString().toStdString());
    }
    definition.Widgets = WithoutConnections(data);
    return definition;
}

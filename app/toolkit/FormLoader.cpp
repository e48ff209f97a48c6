// Creating a window from its definition: the widgets through Qt's loader with the toolkit's own
// component classes, the shared glyph icons, the window's flags, size and place, then Create.
#include "app/toolkit/Form.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QUiLoader>

namespace {

// Builds the toolkit's own classes and hands the existing window object over as the top widget.
class TFormLoader : public QUiLoader {
  public:
    explicit TFormLoader(TForm* top) : top_(top) {}

    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
        QWidget* widget = nullptr;
        if (!topDone_) {
            topDone_ = true;
            if (!top_->Is(className.toUtf8().constData())) {
                errors_ << QString("the definition is for %1, the window is %2")
                               .arg(className, top_->metaObject()->className());
            }
            widget = top_;
        } else if (className == "TImage") {
            widget = new TImage(parent);
        } else if (className == "TPanel") {
            widget = new TPanel(parent);
        } else if (className == "TEdit") {
            widget = new TEdit(parent);
        } else if (className == "TTimer") {
            widget = new TTimer(parent);
        } else if (className == "TOpenDialog") {
            widget = new TOpenDialog(parent);
        } else if (className == "TSaveDialog") {
            widget = new TSaveDialog(parent);
        } else {
            widget = QUiLoader::createWidget(className, parent, name);
            if (!widget) {
                errors_ << QString("unknown component class %1 (%2)").arg(className, name);
                widget = new QWidget(parent);
            }
        }
        widget->setObjectName(name);
        return widget;
    }

    const QStringList& Errors() const { return errors_; }

  private:
    TForm* top_;
    bool topDone_ = false;
    QStringList errors_;
};

// Windows are opened again and again, and Qt keeps the pixmaps it draws of an icon in its pixmap
// cache under that icon's own key: a fresh icon per window would fill the cache with the glyphs
// of windows long gone. So each glyph file is one icon for the whole run.
QIcon SharedIcon(const QString& path) {
    // Never freed: an icon must not outlive the application object, and this lives to the end.
    static auto* icons = new QHash<QString, QIcon>();
    auto found = icons->find(path);
    if (found == icons->end()) {
        found = icons->insert(path, QIcon(path));
    }
    return *found;
}

} // namespace

void TForm::Load(const QString& source) {
    const TFormDefinition definition = ReadFormDefinition(source);
    settings_ = definition.Settings;
    const std::string where =
        std::string(metaObject()->className()) + " (" + definition.Path.toStdString() + ")";
    if (IsMDIChild() &&
        (!Application || !Application->MainForm() || !Application->MainForm()->IsMDIFrame())) {
        throw EFormDefinitionError(where + ": an MDI child window needs the MDI frame first");
    }
    try {
        BuildWidgets(definition);
    } catch (const EFormDefinitionError& error) {
        throw EFormDefinitionError(where + ": " + error.what());
    }
    menu_ = findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (menu_) {
        menu_->hide();
        if (!IsMDIChild()) {
            menuView_ = new QMenuBar(this);
            menuView_->setObjectName("MenuBarView");
            ShowMenuOf(nullptr);
        }
    }
    if (IsMDIFrame()) {
        CreateMDIClient();
    }
    if (IsMDIChild()) {
        CreateClientArea();
    }
    FindComponents();
    WireConnections(definition.Connections);
    ApplySettings();
    if (IsMDIChild()) {
        AttachToFrame();
    }
    AlignControls();
    Notify("Create");
    if (IsMDIChild() && frame_) {
        subWindow_->show();
        frame_->mdiClient_->setActiveSubWindow(subWindow_);
        frame_->ChildActivated(this);
    }
}

void TForm::BuildWidgets(const TFormDefinition& definition) {
    QByteArray widgets = definition.Widgets;
    QBuffer buffer(&widgets);
    buffer.open(QIODevice::ReadOnly);
    TFormLoader loader(this);
    QWidget* loaded = loader.load(&buffer, nullptr);
    if (loaded != this) {
        throw EFormDefinitionError(loader.errorString().toStdString());
    }
    if (!loader.Errors().isEmpty()) {
        throw EFormDefinitionError(loader.Errors().join("; ").toStdString());
    }
    for (const TIconSetting& setting : definition.Icons) {
        QObject* target = setting.Owner == objectName() ? this : findChild<QObject*>(setting.Owner);
        if (target) {
            target->setProperty(setting.Property.constData(), SharedIcon(setting.Path));
        }
    }
}

void TForm::ApplySettings() {
    const TBorderIcons& icons = settings_.BorderIcons;
    const TBorderStyle border = settings_.BorderStyle;
    if (!IsMDIChild()) {
        Qt::WindowFlags flags = Qt::Window;
        const bool stayOnTop = settings_.FormStyle == TFormStyle::fsStayOnTop;
        if (stayOnTop || border == TBorderStyle::bsToolWindow) {
            flags = Qt::Tool;
        } else if (border == TBorderStyle::bsDialog) {
            flags = Qt::Dialog;
        }
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (stayOnTop) {
            flags |= Qt::WindowStaysOnTopHint;
        }
        if (icons.SystemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (border == TBorderStyle::bsSizeable) {
                if (icons.Minimize) {
                    flags |= Qt::WindowMinimizeButtonHint;
                }
                if (icons.Maximize) {
                    flags |= Qt::WindowMaximizeButtonHint;
                }
            }
        }
        setWindowFlags(flags);
    }
    const int menuHeight = menuView_ ? menuView_->sizeHint().height() : 0;
    if (settings_.ClientWidth) {
        resize(*settings_.ClientWidth, height());
    }
    if (settings_.ClientHeight) {
        resize(width(), *settings_.ClientHeight + menuHeight);
    }
    if (IsMDIChild()) {
        return;
    }
    if (border == TBorderStyle::bsDialog) {
        setFixedSize(size());
    }
    if (settings_.Position == TPosition::poScreenCenter) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        move(area.center() - QPoint(width() / 2, height() / 2));
    } else if (settings_.DesignedPosition && settings_.Position == TPosition::poDesigned) {
        move(*settings_.DesignedPosition);
    }
}

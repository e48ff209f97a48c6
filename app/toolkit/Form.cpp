// TForm: definition loading and handler binding, window services, the close protocol with its
// deferred free, and the MDI frame's child list, activation order and menu replacement.
#include "app/toolkit/Form.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QBuffer>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

// Frees windows marked by Release when the event loop, or a nested one, runs posted events.
// A posted event of our own rather than deleteLater: nested loops do not run deferred deletes.
class TFreeQueue : public QObject {
  public:
    class FreeEvent : public QEvent {
      public:
        static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 71);
        explicit FreeEvent(TForm* form) : QEvent(kType), form(form) {}
        QPointer<TForm> form;
    };

    static TFreeQueue* Instance() {
        static auto* queue = new TFreeQueue;
        return queue;
    }

  protected:
    void customEvent(QEvent* event) override {
        if (event->type() != FreeEvent::kType) {
            return;
        }
        QPointer<TForm> form = static_cast<FreeEvent*>(event)->form;
        Guarded([&] {
            if (form && form->pendingFree_) {
                if (form->closing_ > 0) {
                    form->freeWaiting_ = true;
                } else {
                    form->FreeNow(true);
                }
            }
        });
    }
};

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

std::string WithoutParameters(const QString& text) {
    const qsizetype bracket = text.indexOf('(');
    return (bracket < 0 ? text : text.left(bracket)).trimmed().toStdString();
}

template <class F> F Expect(const THandler& handler, const std::string& where) {
    if (const F* function = std::get_if<F>(&handler)) {
        return *function;
    }
    throw EFormDefinitionError(where + ": the handler's parameters do not fit the event");
}

QFont FormFont() {
    QFont font(QString::fromUtf8("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    return font;
}

QColor ToQColor(TColor color) {
    const TColor resolved = ResolveColor(color);
    return QColor(RedOf(resolved), GreenOf(resolved), BlueOf(resolved));
}

// A window definition's icon setting: the widget or action it belongs to, the property, the file.
struct IconSetting {
    QString owner;
    QByteArray property;
    QString path;
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

TForm::TForm() : QWidget(nullptr) {
    setFont(FormFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TForm::~TForm() {
    if (frame_) {
        frame_->RemoveChild(this);
    }
    for (TForm* child : children_) {
        child->frame_ = nullptr;
    }
}

void TForm::Load(const QString& definition) {
    const QString path = (definition.startsWith(':') || definition.contains('/'))
                             ? definition
                             : QString(":/forms/%1.ui").arg(definition);
    const std::string where =
        std::string(metaObject()->className()) + " (" + path.toStdString() + ")";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EFormDefinitionError(where + ": the window definition cannot be read");
    }
    QByteArray data = file.readAll();

    // The bindings and the window's designed position, which Qt's loader does not apply to the
    // top widget; then the bindings come out before Qt's loader sees them.
    std::vector<Connection> connections;
    std::vector<IconSetting> icons;
    QPoint designed;
    bool positionGiven = false;
    {
        QXmlStreamReader xml(data);
        QStringList elements;
        int widgetDepth = 0;
        Connection current;
        // Properties come before a widget's children, so they belong to the last one opened.
        QString owner;
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::StartElement) {
                const QString name = xml.name().toString();
                if (name == "widget" || name == "action") {
                    owner = xml.attributes().value("name").toString();
                }
                const QStringView property = xml.attributes().value("name");
                if (name == "widget") {
                    ++widgetDepth;
                } else if (name == "property" && (property == QLatin1String("icon") ||
                                                  property == QLatin1String("windowIcon"))) {
                    // <property name="icon"><iconset><normaloff>file</normaloff></iconset>
                    IconSetting setting{owner, property.toUtf8(), {}};
                    int depth = 1;
                    while (depth > 0 && !xml.atEnd()) {
                        const auto inner = xml.readNext();
                        if (inner == QXmlStreamReader::StartElement) {
                            if (xml.name() == QLatin1String("normaloff")) {
                                setting.path = xml.readElementText().trimmed();
                            } else {
                                ++depth;
                            }
                        } else if (inner == QXmlStreamReader::EndElement) {
                            --depth;
                        }
                    }
                    if (!setting.path.isEmpty()) {
                        icons.push_back(setting);
                    }
                    continue;
                } else if (name == "property" && widgetDepth == 1 && elements.last() == "widget" &&
                           xml.attributes().value("name") == QLatin1String("geometry")) {
                    positionGiven = true;
                    // <property name="geometry"><rect><x/><y/><width/><height/></rect>
                    int depth = 1;
                    while (depth > 0 && !xml.atEnd()) {
                        const auto inner = xml.readNext();
                        if (inner == QXmlStreamReader::StartElement) {
                            if (xml.name() == QLatin1String("x")) {
                                designed.setX(xml.readElementText().toInt());
                            } else if (xml.name() == QLatin1String("y")) {
                                designed.setY(xml.readElementText().toInt());
                            } else {
                                ++depth;
                            }
                        } else if (inner == QXmlStreamReader::EndElement) {
                            --depth;
                        }
                    }
                    continue;
                } else if (!elements.isEmpty() && elements.last() == "connection") {
                    const QString text = xml.readElementText();
                    if (name == "sender") {
                        current.sender = text.trimmed().toStdString();
                    } else if (name == "signal") {
                        current.signal = WithoutParameters(text);
                    } else if (name == "slot") {
                        current.slot = WithoutParameters(text);
                    }
                    continue;
                }
                elements << name;
            } else if (token == QXmlStreamReader::EndElement) {
                const QString name = xml.name().toString();
                if (name == "widget") {
                    --widgetDepth;
                } else if (name == "connection") {
                    connections.push_back(current);
                    current = Connection{};
                }
                if (!elements.isEmpty()) {
                    elements.removeLast();
                }
            }
        }
        if (xml.hasError()) {
            throw EFormDefinitionError(where + ": " + xml.errorString().toStdString());
        }
        const qsizetype begin = data.indexOf("<connections>");
        const qsizetype end = data.indexOf("</connections>");
        if (begin >= 0 && end > begin) {
            data.remove(begin, end + qsizetype(sizeof("</connections>") - 1) - begin);
        }
    }

    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TFormLoader loader(this);
    QWidget* loaded = loader.load(&buffer, nullptr);
    if (loaded != this) {
        throw EFormDefinitionError(where + ": " + loader.errorString().toStdString());
    }
    if (!loader.Errors().isEmpty()) {
        throw EFormDefinitionError(where + ": " + loader.Errors().join("; ").toStdString());
    }
    for (const IconSetting& setting : icons) {
        QObject* target = setting.owner == objectName() ? this : findChild<QObject*>(setting.owner);
        if (target) {
            target->setProperty(setting.property.constData(), SharedIcon(setting.path));
        }
    }

    auto text = [this](const char* name, std::string& value) {
        const QVariant v = property(name);
        if (v.isValid()) {
            value = v.toString().toStdString();
        }
    };
    text("formStyle", formStyle_);
    text("borderStyle", borderStyle_);
    text("borderIcons", borderIcons_);
    text("position", position_);
    if (property("color").isValid()) {
        color_ = static_cast<TColor>(property("color").toLongLong());
    }
    if (IsMDIChild() &&
        (!Application || !Application->MainForm() || !Application->MainForm()->IsMDIFrame())) {
        throw EFormDefinitionError(where + ": an MDI child window needs the MDI frame first");
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
        mdiClient_ = new QMdiArea(this);
        mdiClient_->setObjectName("MDIClient");
        mdiClient_->setBackground(ToQColor(color_));
        connect(mdiClient_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
            Guarded([&] {
                for (TForm* child : children_) {
                    if (child->subWindow_ == window) {
                        ChildActivated(child);
                        return;
                    }
                }
                if (!window) {
                    ChildActivated(nullptr);
                }
            });
        });
    }

    WireConnections(connections);
    ApplySettings(designed, positionGiven);
    if (IsMDIChild()) {
        AttachToFrame(designed, positionGiven);
    }
    AlignControls();
    Notify("Create");
    if (IsMDIChild() && frame_) {
        subWindow_->show();
        frame_->mdiClient_->setActiveSubWindow(subWindow_);
        frame_->ChildActivated(this);
    }
}

void TForm::WireConnections(const std::vector<Connection>& connections) {
    const std::string form = metaObject()->className();
    for (const Connection& c : connections) {
        const std::string where = form + ": " + c.sender + "." + c.signal + " -> " + c.slot;
        auto handler = handlers_.find(c.slot);
        if (handler == handlers_.end()) {
            throw EFormDefinitionError(where + ": no handler of that name");
        }
        const THandler& h = handler->second;
        if (c.sender == objectName().toStdString()) {
            WireFormEvent(c.signal, h, where);
            continue;
        }
        QObject* target = findChild<QObject*>(QString::fromStdString(c.sender));
        if (!target) {
            throw EFormDefinitionError(where + ": no component of that name");
        }
        const std::string& e = c.signal;
        if (auto* action = qobject_cast<QAction*>(target); action && e == "Click") {
            TNotifyEvent f = Expect<TNotifyEvent>(h, where);
            connect(action, &QAction::triggered, this, [f] { Guarded(f); });
        } else if (auto* edit = qobject_cast<TEdit*>(target); edit && e == "Change") {
            edit->OnChange = Expect<TNotifyEvent>(h, where);
        } else if (edit && e == "Exit") {
            edit->OnExit = Expect<TNotifyEvent>(h, where);
        } else if (edit && e == "KeyDown") {
            edit->OnKeyDown = Expect<TKeyEvent>(h, where);
        } else if (auto* button = qobject_cast<QAbstractButton*>(target); button && e == "Click") {
            TNotifyEvent f = Expect<TNotifyEvent>(h, where);
            connect(button, &QAbstractButton::clicked, this, [f] { Guarded(f); });
        } else if (auto* bar = qobject_cast<QScrollBar*>(target); bar && e == "Change") {
            TNotifyEvent f = Expect<TNotifyEvent>(h, where);
            connect(bar, &QScrollBar::valueChanged, this, [f] { Guarded(f); });
        } else if (auto* image = qobject_cast<TImage*>(target); image && e == "MouseDown") {
            image->OnMouseDown = Expect<TMouseEvent>(h, where);
        } else if (image && e == "MouseMove") {
            image->OnMouseMove = Expect<TMouseEvent>(h, where);
        } else if (image && e == "MouseUp") {
            image->OnMouseUp = Expect<TMouseEvent>(h, where);
        } else if (auto* timer = qobject_cast<TTimer*>(target); timer && e == "Timer") {
            timer->OnTimer = Expect<TNotifyEvent>(h, where);
        } else {
            throw EFormDefinitionError(where + ": the component has no event of that name");
        }
    }
}

void TForm::WireFormEvent(const std::string& event, const THandler& handler,
                          const std::string& where) {
    static const char* const kNotifyEvents[] = {"Create",     "Show",    "Activate",
                                                "Deactivate", "Destroy", "Paint"};
    for (const char* name : kNotifyEvents) {
        if (event == name) {
            formEvents_[event] = Expect<TNotifyEvent>(handler, where);
            return;
        }
    }
    if (event == "CloseQuery") {
        formEvents_[event] = Expect<TCloseQueryEvent>(handler, where);
    } else if (event == "Close") {
        formEvents_[event] = Expect<TCloseEvent>(handler, where);
    } else {
        throw EFormDefinitionError(where + ": a window has no event of that name");
    }
}

void TForm::ApplySettings(const QPoint& designed, bool positionGiven) {
    const bool minimize = borderIcons_.find("biMinimize") != std::string::npos;
    const bool maximize = borderIcons_.find("biMaximize") != std::string::npos;
    const bool systemMenu = borderIcons_.find("biSystemMenu") != std::string::npos;
    if (!IsMDIChild()) {
        Qt::WindowFlags flags = Qt::Window;
        if (formStyle_ == "fsStayOnTop" || borderStyle_ == "bsToolWindow") {
            flags = Qt::Tool;
        } else if (borderStyle_ == "bsDialog") {
            flags = Qt::Dialog;
        }
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (formStyle_ == "fsStayOnTop") {
            flags |= Qt::WindowStaysOnTopHint;
        }
        if (systemMenu) {
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (borderStyle_ == "bsSizeable") {
                if (minimize) {
                    flags |= Qt::WindowMinimizeButtonHint;
                }
                if (maximize) {
                    flags |= Qt::WindowMaximizeButtonHint;
                }
            }
        }
        setWindowFlags(flags);
    }
    const int menuHeight = menuView_ ? menuView_->sizeHint().height() : 0;
    if (property("clientWidth").isValid()) {
        resize(property("clientWidth").toInt(), height());
    }
    if (property("clientHeight").isValid()) {
        resize(width(), property("clientHeight").toInt() + menuHeight);
    }
    if (IsMDIChild()) {
        return;
    }
    if (borderStyle_ == "bsDialog") {
        setFixedSize(size());
    }
    if (position_ == "poScreenCenter") {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        move(area.center() - QPoint(width() / 2, height() / 2));
    } else if (positionGiven && position_ == "poDesigned") {
        move(designed);
    }
}

void TForm::AttachToFrame(const QPoint& designed, bool positionGiven) {
    TForm* frame = Application->MainForm();
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderIcons_.find("biSystemMenu") != std::string::npos) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderIcons_.find("biMinimize") != std::string::npos) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (borderIcons_.find("biMaximize") != std::string::npos) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    const QSize designedSize = size();
    const bool clientSized =
        property("clientWidth").isValid() || property("clientHeight").isValid();
    subWindow_ = frame->mdiClient_->addSubWindow(this, flags);
    subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    subWindow_->setWindowTitle(windowTitle());
    subWindow_->setWindowIcon(windowIcon());
    if (clientSized) {
        const QMargins margins = subWindow_->contentsMargins();
        subWindow_->resize(designedSize.grownBy(margins));
    } else {
        subWindow_->resize(designedSize);
    }
    if (positionGiven && position_ == "poDesigned") {
        subWindow_->move(designed);
    }
    frame_ = frame;
    frame->children_.push_back(this);
}

void TForm::AlignControls() {
    int top = 0;
    if (menuView_) {
        const int h = menuView_->sizeHint().height();
        menuView_->setGeometry(0, 0, width(), h);
        top = h;
    }
    for (QObject* object : children()) {
        auto* panel = qobject_cast<TPanel*>(object);
        if (panel && panel->AlignedTop()) {
            panel->setGeometry(0, top, width(), panel->height());
            top += panel->height();
        }
    }
    if (mdiClient_) {
        mdiClient_->setGeometry(0, top, width(), std::max(0, height() - top));
    }
}

void TForm::Notify(const char* event) {
    auto found = formEvents_.find(event);
    if (found != formEvents_.end()) {
        Guarded(std::get<TNotifyEvent>(found->second));
    }
}

std::string TForm::Caption() const {
    return windowTitle().toStdString();
}

void TForm::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    if (subWindow_) {
        subWindow_->setWindowTitle(windowTitle());
    }
}

bool TForm::Is(const char* className) const {
    for (const QMetaObject* meta = metaObject(); meta; meta = meta->superClass()) {
        const std::string name = meta->className();
        const std::size_t colon = name.rfind("::");
        if ((colon == std::string::npos ? name : name.substr(colon + 2)) == className) {
            return true;
        }
    }
    return false;
}

QWidget* TForm::Frame() const {
    return subWindow_ ? static_cast<QWidget*>(subWindow_) : const_cast<TForm*>(this);
}

int TForm::Left() const {
    return subWindow_ ? subWindow_->x() : frameGeometry().x();
}

int TForm::Top() const {
    return subWindow_ ? subWindow_->y() : frameGeometry().y();
}

int TForm::Width() const {
    return subWindow_ ? subWindow_->width() : frameGeometry().width();
}

int TForm::Height() const {
    return subWindow_ ? subWindow_->height() : frameGeometry().height();
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (subWindow_) {
        subWindow_->setGeometry(left, top, width, height);
        return;
    }
    const QSize extra = frameGeometry().size() - size();
    move(left, top);
    resize(width - extra.width(), height - extra.height());
}

int TForm::ClientWidth() const {
    return width();
}

int TForm::ClientHeight() const {
    return height() - (menuView_ ? menuView_->height() : 0);
}

void TForm::SetClientWidth(int width) {
    if (subWindow_) {
        subWindow_->resize(subWindow_->width() + width - this->width(), subWindow_->height());
    } else {
        resize(width, height());
    }
}

void TForm::SetClientHeight(int height) {
    if (subWindow_) {
        subWindow_->resize(subWindow_->width(), subWindow_->height() + height - ClientHeight());
    } else {
        resize(width(), height + (menuView_ ? menuView_->height() : 0));
    }
}

void TForm::Show() {
    Frame()->show();
}

void TForm::Hide() {
    Frame()->hide();
}

void TForm::BringToFront() {
    if (subWindow_ && frame_) {
        subWindow_->show();
        subWindow_->raise();
        frame_->mdiClient_->setActiveSubWindow(subWindow_);
        frame_->ChildActivated(this);
        return;
    }
    show();
    raise();
    activateWindow();
}

bool TForm::Visible() const {
    return !Frame()->isHidden();
}

TCanvas& TForm::Canvas() {
    if (!surface_) {
        surface_.emplace(std::max(width(), 0), std::max(height(), 0));
        TCanvas& canvas = surface_->Canvas();
        canvas.Brush.Color = color_;
        canvas.FillRect(Rect(0, 0, surface_->Width(), surface_->Height()));
        surface_->OnChange = [this](const TRect& area) {
            if (!painting_) {
                update(area.Left, area.Top, area.Width(), area.Height());
            }
        };
    }
    return surface_->Canvas();
}

bool TForm::CloseQuery() {
    if (mdiClient_) {
        const std::vector<TForm*> children = children_;
        for (TForm* child : children) {
            if (!child->CloseQuery()) {
                return false;
            }
        }
    }
    bool canClose = true;
    auto found = formEvents_.find("CloseQuery");
    if (found != formEvents_.end()) {
        std::get<TCloseQueryEvent>(found->second)(canClose);
    }
    return canClose;
}

void TForm::Close() {
    struct Closing {
        TForm* form;
        explicit Closing(TForm* f) : form(f) { ++form->closing_; }
        ~Closing() {
            if (--form->closing_ == 0 && form->freeWaiting_) {
                form->freeWaiting_ = false;
                form->Release();
            }
        }
    } closing(this);
    if (!CloseQuery()) {
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    if (IsMDIChild()) {
        action = borderIcons_.find("biMinimize") != std::string::npos ? TCloseAction::caMinimize
                                                                      : TCloseAction::caNone;
    }
    auto found = formEvents_.find("Close");
    if (found != formEvents_.end()) {
        std::get<TCloseEvent>(found->second)(action);
    }
    if (action == TCloseAction::caNone) {
        return;
    }
    if (isMainForm_) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide:
        Hide();
        break;
    case TCloseAction::caMinimize:
        Frame()->showMinimized();
        break;
    case TCloseAction::caFree:
        Release();
        break;
    case TCloseAction::caNone:
        break;
    }
}

void TForm::Release() {
    pendingFree_ = true;
    QCoreApplication::postEvent(TFreeQueue::Instance(), new TFreeQueue::FreeEvent(this));
}

void TForm::Free() {
    FreeNow(false);
}

void TForm::FreeNow(bool activateNext) {
    if (freed_) {
        return;
    }
    freed_ = true;
    Notify("Destroy");
    TForm* frame = frame_;
    if (frame) {
        frame->RemoveChild(this);
        frame_ = nullptr;
    }
    for (TForm* child : children_) {
        child->frame_ = nullptr;
    }
    children_.clear();
    activeChild_ = nullptr;
    if (!subWindow_) {
        delete this;
        return;
    }
    QMdiSubWindow* window = subWindow_;
    subWindow_ = nullptr;
    // Qt's own choice of the next active child is replaced by the window list's.
    frame->suppressActivation_ = true;
    delete window;
    frame->suppressActivation_ = false;
    if (frame->activeChild_) {
        return;
    }
    if (activateNext && !frame->children_.empty()) {
        TForm* next = frame->children_.front();
        frame->mdiClient_->setActiveSubWindow(next->subWindow_);
        frame->ChildActivated(next);
    } else {
        frame->ShowMenuOf(nullptr);
    }
}

TForm* TForm::MDIChildren(int index) const {
    if (index < 0 || index >= MDIChildCount()) {
        throw std::out_of_range("MDI child index out of range");
    }
    return children_[static_cast<std::size_t>(index)];
}

void TForm::ChildActivated(TForm* child) {
    if (suppressActivation_ || child == activeChild_) {
        return;
    }
    if (!child && activeChild_ && activeChild_->subWindow_ &&
        !activeChild_->subWindow_->isHidden() && !activeChild_->subWindow_->isMinimized()) {
        // Only the frame itself lost the focus; its active child stays active.
        return;
    }
    TForm* previous = activeChild_;
    activeChild_ = child;
    if (previous) {
        previous->Notify("Deactivate");
    }
    if (child) {
        auto found = std::find(children_.begin(), children_.end(), child);
        if (found != children_.end()) {
            children_.erase(found);
        }
        children_.insert(children_.begin(), child);
    }
    ShowMenuOf(child);
    if (child) {
        child->Notify("Activate");
    }
}

void TForm::RemoveChild(TForm* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    if (activeChild_ == child) {
        activeChild_ = nullptr;
    }
}

void TForm::ShowMenuOf(TForm* child) {
    if (!menuView_) {
        return;
    }
    QMenuBar* source = (child && child->menu_) ? child->menu_ : menu_;
    for (QAction* action : menuView_->actions()) {
        menuView_->removeAction(action);
    }
    if (source) {
        menuView_->addActions(source->actions());
    }
    AlignControls();
}

std::vector<QMdiSubWindow*> TForm::ArrangedWindows() const {
    std::vector<QMdiSubWindow*> windows;
    for (TForm* child : children_) {
        if (child->subWindow_ && !child->subWindow_->isHidden() &&
            !child->subWindow_->isMinimized()) {
            windows.push_back(child->subWindow_);
        }
    }
    return windows;
}

void TForm::Tile() {
    if (!mdiClient_) {
        return;
    }
    const std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    if (windows.empty()) {
        return;
    }
    const QRect area = mdiClient_->viewport()->rect();
    // Wide windows one above the other while each keeps room for a title and some content;
    // beyond that, further columns.
    constexpr int kMinimumHeight = 60;
    const int count = static_cast<int>(windows.size());
    const int rows = std::clamp(area.height() / kMinimumHeight, 1, count);
    const int columns = (count + rows - 1) / rows;
    int index = 0;
    for (int column = 0; column < columns; ++column) {
        const int inColumn = std::min(rows, count - index);
        const int left = area.width() * column / columns;
        const int right = area.width() * (column + 1) / columns;
        for (int row = 0; row < inColumn; ++row, ++index) {
            const int top = area.height() * row / inColumn;
            const int bottom = area.height() * (row + 1) / inColumn;
            windows[static_cast<std::size_t>(index)]->showNormal();
            windows[static_cast<std::size_t>(index)]->setGeometry(left, top, right - left,
                                                                  bottom - top);
        }
    }
}

void TForm::Cascade() {
    if (!mdiClient_) {
        return;
    }
    // Qt's own cascade shrinks every window to its size hint, which for these windows is a bare
    // title bar. Here each keeps its size (shrunk only to fit the area) and steps one title bar
    // down and to the right; the most recently focused window ends in front, at the last step.
    const std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    const QRect area = mdiClient_->viewport()->rect();
    const int step = mdiClient_->style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                     mdiClient_->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    int offset = 0;
    for (auto window = windows.rbegin(); window != windows.rend(); ++window, offset += step) {
        if (offset + step > area.height() / 2 || offset + step > area.width() / 2) {
            offset = 0;
        }
        QMdiSubWindow* sub = *window;
        sub->showNormal();
        const QSize size(std::min(sub->width(), area.width() - offset),
                         std::min(sub->height(), area.height() - offset));
        sub->setGeometry(QRect(QPoint(offset, offset), size));
        sub->raise();
    }
}

void TForm::closeEvent(QCloseEvent* event) {
    // The close protocol decides; Qt never closes a window by itself.
    event->ignore();
    Guarded([this] { Close(); });
}

void TForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        Notify("Show");
    }
}

void TForm::paintEvent(QPaintEvent* event) {
    if (mdiClient_) {
        return;
    }
    Guarded([this, event] {
        painting_ = true;
        Canvas();
        Notify("Paint");
        // Only the part being repainted is converted: a preview tick redraws one frame, not the
        // whole client area.
        const QRect part = event->rect() & QRect(0, 0, surface_->Width(), surface_->Height());
        QPainter painter(this);
        painter.drawImage(part.topLeft(), ToQImage(*surface_, part));
    });
    painting_ = false;
}

void TForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] {
        AlignControls();
        if (surface_ && (surface_->Width() != width() || surface_->Height() != height())) {
            TCanvas& canvas = surface_->Canvas();
            const TColor brush = canvas.Brush.Color;
            canvas.Brush.Color = color_;
            surface_->SetSize(std::max(width(), 0), std::max(height(), 0));
            canvas.Brush.Color = brush;
        }
    });
}

void TForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !IsMDIChild() && isWindow()) {
        Notify(isActiveWindow() ? "Activate" : "Deactivate");
    }
}

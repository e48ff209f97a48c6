// Small windows of the tests' own on the toolkit base: a frame, a child that records its events
// and can refuse, change its close action or ask while closing, and a plain top-level window.
#pragma once

#include "app/toolkit/Form.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPushButton;

namespace gui_test {

// Every event of every test window, as "name:Event", in order.
std::vector<std::string>& EventLog();

class TTestFrame : public TForm {
    Q_OBJECT
  public:
    TTestFrame();
};

class TTestChild : public TForm {
    Q_OBJECT
  public:
    explicit TTestChild(std::string name = "child");

    std::string Name;
    bool AllowClose = true;
    std::optional<TCloseAction> Action = TCloseAction::caFree;
    std::function<void()> OnClosing; // runs inside FormClose
    std::function<void()> OnButton;  // Button1Click
    std::vector<std::string> Mouse;  // "Down 0 3 4" etc.
    std::vector<int> Keys;
    int Changes = 0;
    int Ticks = 0;

    TEdit* Edit1;
    QPushButton* Button1;
    TImage* Image1;
    TTimer* Timer1;

  public slots:
    void FormActivate();
    void FormDeactivate();
    void FormCloseQuery(bool& canClose);
    void FormClose(TCloseAction& action);
    void FormDestroy();
    void Button1Click();
    void Image1MouseDown(TMouseButton button, int x, int y);
    void Image1MouseMove(TMouseButton button, int x, int y);
    void Image1MouseUp(TMouseButton button, int x, int y);
    void Edit1Change();
    void Edit1KeyDown(int& key);
    void Timer1Timer();

  protected:
    void FindComponents() override;

  private:
    void Record(const char* event);
};

// Stand-ins with the class names the main window looks for.
class TMDIFish : public TTestChild {
    Q_OBJECT
  public:
    using TTestChild::TTestChild;
};
class TMDIShadow : public TTestChild {
    Q_OBJECT
  public:
    using TTestChild::TTestChild;
};
class TMDIAnim : public TTestChild {
    Q_OBJECT
  public:
    using TTestChild::TTestChild;
};

class TTestWindow : public TForm {
    Q_OBJECT
  public:
    TTestWindow();
    int Paints = 0;
    int Shows = 0;
  public slots:
    void FormPaint();
    void FormShow();
};

} // namespace gui_test

namespace gui_test {
// A window loading whatever definition it is given, with a few handlers to bind to.
class TProbeWindow : public TForm {
    Q_OBJECT
  public:
    explicit TProbeWindow(const QString& definition);
    int Creates = 0;

  public slots:
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void Button1Click();
};
} // namespace gui_test

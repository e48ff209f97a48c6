// Screenshot of the animation preview in front, drawing the fish under its first shadow pattern.
#include "app/Unit1.h"
#include "fish/Unit2.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"
#include "shadow/Unit6.h"

#include <QToolButton>

namespace {
TRegisterScreenshot animPreview{"anim", []() -> QWidget* {
                                    if (!OpenSampleWorkspace("clownfish-120x80.bmp")) {
                                        return nullptr;
                                    }
                                    TMDIShadow* editor = PaintSampleShadows();
                                    if (!editor) {
                                        return nullptr;
                                    }
                                    editor->SpeedButton3->click();
                                    auto* anim = qobject_cast<TMDIAnim*>(Form1->ActiveMDIChild());
                                    if (!anim) {
                                        return nullptr;
                                    }
                                    // Frame 2, then frame 1: the window shows the first pattern.
                                    anim->Timer1Timer();
                                    anim->Timer1Timer();
                                    return StillOfFrameAndFree();
                                }};
} // namespace

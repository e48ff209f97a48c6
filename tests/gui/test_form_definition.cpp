// The window definition reader on its own, without a window: settings, connections and the
// errors that name the file and the value.
#include "app/toolkit/FormDefinition.h"

#include <gtest/gtest.h>

namespace {

QByteArray Definition(const QString& windowProperties, const QString& connections = "") {
    return QString(R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0"><class>Probe</class>
 <widget class="TProbeWindow" name="Probe">
  <property name="geometry"><rect><x>12</x><y>34</y><width>200</width><height>100</height></rect></property>
  %1
  <widget class="QPushButton" name="Button1">
   <property name="geometry"><rect><x>5</x><y>6</y><width>20</width><height>10</height></rect></property>
   <property name="icon"><iconset><normaloff>:/glyphs/floppy_24.xpm</normaloff></iconset></property>
  </widget>
 </widget>
 <connections>%2</connections>
</ui>)")
        .arg(windowProperties, connections)
        .toUtf8();
}

std::string ErrorOf(const QByteArray& data) {
    try {
        ParseFormDefinition("probe.ui", data);
    } catch (const EFormDefinitionError& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(FormDefinitionReader, ReadsTheWindowSettingsIconsAndConnections) {
    const TFormDefinition d = ParseFormDefinition(
        "probe.ui",
        Definition(R"(<property name="formStyle"><string>fsStayOnTop</string></property>
                      <property name="borderStyle"><string>bsDialog</string></property>
                      <property name="borderIcons"><string>biSystemMenu</string></property>
                      <property name="position"><string>poScreenCenter</string></property>
                      <property name="color"><number>255</number></property>
                      <property name="clientHeight"><number>90</number></property>)",
                   "<connection><sender>Button1</sender><signal>Click()</signal>"
                   "<receiver>Probe</receiver><slot>Button1Click()</slot></connection>"));
    EXPECT_EQ(d.ClassName, "TProbeWindow");
    EXPECT_EQ(d.FormName, "Probe");
    EXPECT_EQ(d.Settings.FormStyle, TFormStyle::fsStayOnTop);
    EXPECT_EQ(d.Settings.BorderStyle, TBorderStyle::bsDialog);
    EXPECT_TRUE(d.Settings.BorderIcons.SystemMenu);
    EXPECT_FALSE(d.Settings.BorderIcons.Minimize || d.Settings.BorderIcons.Maximize);
    EXPECT_EQ(d.Settings.Position, TPosition::poScreenCenter);
    EXPECT_EQ(d.Settings.Color, TColor{255});
    EXPECT_FALSE(d.Settings.ClientWidth.has_value());
    EXPECT_EQ(d.Settings.ClientHeight, 90);
    // The window's own geometry gives the designed place, not a component's.
    EXPECT_EQ(d.Settings.DesignedPosition, QPoint(12, 34));
    ASSERT_EQ(d.Icons.size(), 1u);
    EXPECT_EQ(d.Icons[0].Owner, "Button1");
    ASSERT_EQ(d.Connections.size(), 1u);
    EXPECT_EQ(d.Connections[0].Sender, "Button1");
    EXPECT_EQ(d.Connections[0].Event, "Click");
    EXPECT_EQ(d.Connections[0].Handler, "Button1Click");
    EXPECT_FALSE(d.Widgets.contains("<connections>"));
}

TEST(FormDefinitionReader, UnknownSettingValuesNameTheFileAndTheValue) {
    struct Row {
        const char* name;
        const char* property;
        const char* expected;
    } rows[] = {
        {"form style", R"(<property name="formStyle"><string>fsMDIChlid</string></property>)",
         "probe.ui: unknown formStyle value \"fsMDIChlid\""},
        {"border style", R"(<property name="borderStyle"><string>bsSingle</string></property>)",
         "probe.ui: unknown borderStyle value \"bsSingle\""},
        {"border icon",
         R"(<property name="borderIcons"><string>biSystemMenu,biHelp</string></property>)",
         "probe.ui: unknown borderIcons value \"biHelp\""},
        {"position", R"(<property name="position"><string>poCentre</string></property>)",
         "probe.ui: unknown position value \"poCentre\""},
        {"colour", R"(<property name="color"><string>clRed</string></property>)",
         "probe.ui: unknown color value \"clRed\""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ErrorOf(Definition(row.property)), row.expected) << row.name;
    }
    EXPECT_NE(ErrorOf("<ui><widget"), "") << "broken XML";
}

TEST(FormDefinitionReader, AMissingFileIsAnErrorNamingIt) {
    try {
        ReadFormDefinition("/nonexistent/Nothing.ui");
        FAIL() << "no error";
    } catch (const EFormDefinitionError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "/nonexistent/Nothing.ui: the window definition cannot be read");
    }
}

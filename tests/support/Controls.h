#pragma once

#include <QWidget>
#include <gtest/gtest.h>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>

namespace kym::test {

// A control of a window by its object name; a missing one ends the test with its name.
template <class T = QWidget> T& child(const QObject& parent, const char* name) {
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    return found ? *found : throw std::runtime_error(std::string("no control ") + name);
}

// Every control a window made itself (not the parts Qt builds inside a drop-down box or a
// scrolling view) has an object name and a non-blank accessible name; `spoken` pins some of those
// names. Returns how many controls were checked.
using Spoken = std::initializer_list<std::pair<const char*, const char*>>;
inline int expectNamedControls(const QWidget& window, Spoken spoken = {}) {
    const char* const kinds[] = {"QLabel",           "QGroupBox",        "QAbstractButton",
                                 "QComboBox",        "QLineEdit",        "QAbstractSlider",
                                 "QAbstractSpinBox", "QAbstractItemView"};
    int controls = 0;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        bool qtPart = false;
        for (const QWidget* up = control->parentWidget(); up && !qtPart; up = up->parentWidget())
            qtPart = up->inherits("QComboBox") || up->inherits("QAbstractScrollArea");
        const auto isA = [control](const char* kind) { return control->inherits(kind); };
        if (qtPart || !std::ranges::any_of(kinds, isA))
            continue;
        ++controls;
        const std::string name = control->objectName().toStdString();
        EXPECT_FALSE(name.empty()) << control->metaObject()->className() << " \""
                                   << control->accessibleName().toStdString() << '"';
        EXPECT_FALSE(control->accessibleName().trimmed().isEmpty()) << name;
    }
    for (const auto& [name, accessibleName] : spoken)
        EXPECT_EQ(child(window, name).accessibleName().toStdString(), accessibleName) << name;
    return controls;
}

} // namespace kym::test

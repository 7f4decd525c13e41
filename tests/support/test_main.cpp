#include <gtest/gtest.h>

#include <QApplication>

#include "platform/local_zone.h"
#include "widgets/form_style.h"

int main(int argc, char** argv) {
    // As the program runs.
    platform::readLocalZoneOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    widgets::installFormTypeface();
    return RUN_ALL_TESTS();
}

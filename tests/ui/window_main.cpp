// The window tests' entry point: one application object for all tests.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/desktop_app.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    lodestar::ui::prepareWebEngineEnvironment();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    lodestar::ui::chooseSceneGraph();
    return RUN_ALL_TESTS();
}

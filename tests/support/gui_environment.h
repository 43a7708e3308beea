#pragma once

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <memory>

// Fonts need a GUI application; offscreen is enough. Register it once per test program.
class GuiApplication : public ::testing::Environment {
public:
    void SetUp() override { m_application = std::make_unique<QGuiApplication>(m_argc, m_argv); }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_application;
};

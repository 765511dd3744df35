#pragma once

#include <QWidget>

struct AppState;

// Placeholder main window; replaced by the real main menu.
class FrmMain : public QWidget
{
    Q_OBJECT
public:
    explicit FrmMain(AppState &app, QWidget *parent = nullptr);

private:
    AppState &m_app;
};

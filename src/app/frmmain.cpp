#include "app/frmmain.h"

#include "app/appstate.h"

FrmMain::FrmMain(AppState &app, QWidget *parent) : QWidget(parent), m_app(app)
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Main"));
}

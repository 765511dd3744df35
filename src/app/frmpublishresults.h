#pragma once

#include "judging/resultspublisher.h"
#include "shell/ownedwindow.h"

#include <QTimer>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
struct AppState;

// "Publish Results": the results of every division written into a folder as web pages to post,
// now or every few minutes while the meet changes, and the poster that leads phones to them. A
// window of its own beside the main menu, which stays usable: the publishing goes on while the
// meet is worked on, until it is stopped or the window closed. The window shows when it last
// published, and why it could not; publishing every few minutes never interrupts with a message.
class FrmPublishResults : public OwnedWindow
{
    Q_OBJECT

public:
    static constexpr int Width = 7800;
    static constexpr int Height = 5640;
    static constexpr int DefaultMinutes = 2;

    // The one window, opened or brought to the front.
    static FrmPublishResults *open(AppState &app, QWidget *mainMenu);

    FrmPublishResults(AppState &app, QWidget *mainMenu);

    void CmdBrowse_Click();
    void CmdPublishNow_Click();
    // Starts publishing every few minutes (at once the first time), or stops it.
    void CmdLive_Click();
    void CmdPoster_Click();
    // One look at the meet while publishing every few minutes: the timer's, and the tests'.
    void Publish_Tick();

    bool isLive() const { return m_publisher.has_value(); }
    const QTimer &timer() const { return m_timer; }

    // Asks which folder the results go to, given the one typed; an empty answer cancels. The
    // folder dialog unless a test sets another.
    std::function<QString(const QString &suggested)> Choose_Folder;

private:
    // The folder and the extra files (the poster) once both check out; nothing after telling why.
    std::optional<std::vector<FolderSwap::File>> checkedRequest();
    void setLive(bool live);

    AppState &m_app;
    QLineEdit *m_folder;
    QLineEdit *m_url;
    QSpinBox *m_minutes;
    QPushButton *m_live;
    QLabel *m_last;
    QLabel *m_problem;
    QTimer m_timer;
    std::optional<ResultsPublisher> m_publisher;
    QString m_lastPublished; // "14:05: Published ..."
};

#include "tests/shell/shell_fixture.h"

#include <QDialog>
#include <QMessageBox>
#include <QTest>
#include <random>

#include "game/display_settings.h"
#include "rules/evaluation.h"

namespace kelvane::testing {

ModalWatcher::ModalWatcher(std::function<void(QWidget*)> act) : act_(std::move(act)) {
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            if (++polls_ > 400) poll_.stop();
            return;
        }
        poll_.stop();
        seen_ = true;
        title_ = modal->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) text_ = box->text();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            QObject::connect(dialog, &QDialog::finished, [this](int result) { result_ = result; });
        }
        act_(modal);
    });
    poll_.start();
}

ModalWatcher::~ModalWatcher() {
    poll_.stop();
}

void Accept(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->accept();
    } else {
        modal->close();
    }
}

ScratchDirectory::ScratchDirectory() : previous_(std::filesystem::current_path()) {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("kelvane-shell-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void ShellTest::SetUp() {
    // Settings outlive a view: put the ones no constructor sets back to their start values.
    SetRulesVariant(1);
    SetPieceSet(kStandardSet);
    scratch_ = std::make_unique<ScratchDirectory>();
}

void ShellTest::TearDown() {
    app_.reset();
    platform_.reset();
    scratch_.reset();
    QApplication::processEvents();
}

void ShellTest::Start(std::vector<std::string> arguments) {
    platform_ = std::make_unique<platform::qt::QtShellPlatform>();
    app_ = std::make_unique<CChessApp>(*platform_, std::move(arguments));
    ASSERT_TRUE(app_->InitInstance());
    ASSERT_NE(platform_->MainWindow(), nullptr);
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
}

platform::qt::QtFrameWindow& ShellTest::Window() const {
    return *platform_->MainWindow();
}

platform::qt::QtViewWindow& ShellTest::View() const {
    return *platform_->ViewWindow();
}

CChessView& ShellTest::ChessView() const {
    return *static_cast<CChessView*>(app_->GetMainWnd()->GetActiveView());
}

QAction& ShellTest::MenuItem(int commandId) const {
    QAction* action = Window().MenuAction(commandId);
    if (action == nullptr) throw std::runtime_error("no menu item " + std::to_string(commandId));
    return *action;
}

bool ShellTest::IsChecked(int commandId) const {
    const QAction& action = MenuItem(commandId);
    return action.isCheckable() && action.isChecked();
}

void ShellTest::Press(int key, Qt::KeyboardModifiers modifiers) const {
    QTest::keyClick(&Window(), static_cast<Qt::Key>(key), modifiers);
}

void ShellTest::ClickAt(int x, int y, Qt::MouseButton button) const {
    // Through the top-level window, so that every pixel of the view, its corner included,
    // is reachable (a null point would mean the widget's centre).
    const QPoint inWindow = View().mapTo(&Window(), QPoint(x, y));
    QTest::mouseClick(Window().windowHandle(), button, Qt::NoModifier, inWindow);
}

void ShellTest::ClickSquare(int column, int row) const {
    const int size = GetSquareSize();
    ClickAt(column * size + size / 2, row * size + size / 2);
}

}  // namespace kelvane::testing

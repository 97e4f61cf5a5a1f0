// The title window TForm5: background picture, the sliding picture buttons,
// the status line shown while a driving window loads.
#pragma once
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "title_animation.h"

class QLabel;
class QMenu;

namespace ts {

class TForm1;
class InstallDialog;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    // The drive mode runs one train and never shows the list of other routes:
    // it does not read the folder's route files for it.
    enum class OwnRoutes { Listed, NotListed };
    explicit TForm5(QWidget* parent = nullptr, OwnRoutes ownRoutes = OwnRoutes::Listed);

    // A report window opens when a run that moved has closed.
    bool showReports = true;
    void Train1Click() { pickTrain("789"); }
    void Train2Click() { pickTrain("40"); }
    void helpclick();
    void QuitClick();
    // Drives a train of any code in the data folder, as the train buttons do.
    void openTrain(const std::string& code) { pickTrain(code); }

    // The data folder's own routes beside the demo's two, each with its line
    // name; the "Other routes…" entry is there only when there are some.
    struct OtherRoute {
        std::string code, lineName;
    };
    const std::vector<OtherRoute>& otherRoutes() const { return otherRoutes_; }
    // The menu the entry opens, one item per route.
    QMenu* otherRoutesMenu();
    // Reads the data folder's routes again (after an install).
    void listOtherRoutes();
    // "Install a route…": the dialog that installs a route package.
    InstallDialog* openInstallDialog();

    // Writes a text on the status line and repaints it at once.
    void setStatus(const std::string& text);

    QLabel* element(const char* name) const;
    const TitleButtons& buttons() const { return buttons_; }
    bool animating() const { return timer_.isActive(); }
    std::string trainCode() const { return trainCode_; }

    // Creates a driving window for a train code and loads it (FormCreate); on
    // a fatal error the program ends. Used by the train buttons and the drive mode.
    TForm1* createDrivingWindow(const std::string& code);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    // The buttons' pictures and tooltips in the current language.
    void retranslate();
    void MMTimer1Timer();
    void placeButtons();
    void pickTrain(const std::string& code);

    QLabel* image1_;
    QLabel* train1_;
    QLabel* train2_;
    QLabel* help_;
    QLabel* quit_;
    QLabel* loading_;
    QLabel* label1_;
    QLabel* others_ = nullptr;
    QLabel* install_ = nullptr;
    OwnRoutes ownRoutes_;
    QMenu* othersMenu_ = nullptr;
    std::vector<OtherRoute> otherRoutes_;
    QTimer timer_;
    TitleButtons buttons_;
    std::string trainCode_;
};

}  // namespace ts

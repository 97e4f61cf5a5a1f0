// The value-display window TForm3: the run's physical quantities in figures.
#pragma once
#include <QWidget>
#include <map>
#include <string>

class QLabel;
class QProgressBar;

namespace ts {

class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    // Shows the value texts by label name (Label1, Label2, ..., ProgressBar1..3, Label23).
    void showValues(const std::map<std::string, std::string>& values);
    std::map<std::string, std::string> texts() const;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    // The captions stay as they are; their meaning in the program's language is a tooltip.
    void retranslate();
    std::map<QLabel*, const char*> captions_;  // caption label → its meaning
    std::map<std::string, QLabel*> values_;
    std::map<std::string, QProgressBar*> bars_;
};

}  // namespace ts

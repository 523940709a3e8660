#pragma once
// The About window: the product name and version, a copyright line, and a picture that a
// double-click swaps for a second one and back. It is shown without blocking the main window and
// is deleted when it closes, so every opening starts with the first picture.

#include <QDialog>

class QLabel;
class QPushButton;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // Loads and shows itself.
    explicit AboutDialog(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void dismiss();

private:
    void Form_Load();
    void Image1_DblClick();
    void Image2_DblClick();

    QLabel* labAbout = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QPushButton* butOK = nullptr;
};

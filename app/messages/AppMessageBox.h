#pragma once

#include "app/messages/MessageBoxLayout.h"
#include "app/messages/MessageRequest.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tvl {

// The application's one question and notice box, laid out from a MessageRequest. exec() returns the
// result of MessageBoxResult, or 2 when the box is closed with its close control or Escape.
class AppMessageBox final : public QDialog
{
public:
    // Lays the box out and clears request.caption; request must outlive the box.
    explicit AppMessageBox(MessageRequest& request, QWidget* parent = nullptr);

    const MessageBoxGeometry& Layout() const { return geometry; }
    // Button 1..3, or nullptr when the list has fewer labels.
    QPushButton* Button(int number) const;
    QCheckBox* CheckBox() const { return checkBox; }
    QLabel* TextLabel() const { return textLabel; }

    void reject() override;

private:
    void Press(int number);

    MessageRequest& request;
    MessageBoxGeometry geometry;
    std::array<QPushButton*, 3> buttons{};
    QCheckBox* checkBox = nullptr;
    QLabel* textLabel = nullptr;
};

// Shows the request modally and returns the box's result; a failure of the box reports "Error 304" and
// gives the close result.
int ShowAppMessageBox(MessageRequest& request, QWidget* parent);

// Shows text as a stop notice with a single OK button.
void ShowStopMessage(MessageRequest& request, const QString& text, QWidget* parent);

} // namespace tvl

#pragma once

// The program's small windows. Each call makes a new window from its design, so every opening
// shows the design state; the caller shows it modally and destroys it afterwards.

#include <QDialog>

#include <functional>
#include <memory>
#include <string_view>

namespace brzdomat {

// TForm2: the splash window, which closes itself 2000 ms after it is made.
std::unique_ptr<QDialog> MakeSplashWindow(QWidget* parent);

// TForm3: About, whose link label asks openWebAddress to open the product's web page.
std::unique_ptr<QDialog> MakeAboutWindow(
    QWidget* parent, std::function<void(std::string_view)> openWebAddress);

// TForm5: program information.
std::unique_ptr<QDialog> MakeProgramInfoWindow(QWidget* parent);

} // namespace brzdomat

#pragma once

// The program's small windows: the splash shown once at start-up, About, and the program
// information. Each call makes a new window from its design, so every opening shows the design
// state; the caller shows it modally and destroys it afterwards. The windows change no state of
// a test run.

#include <QDialog>

#include <chrono>
#include <functional>
#include <memory>
#include <string_view>

namespace brzdomat {

// The product's web page, which the About window's link opens. The domain is reserved for
// examples, so it can never lead anyone to a stranger's site.
inline constexpr std::string_view ProductWebAddress = "https://www.brzdomat.example/";
// The splash window closes itself this long after it is made.
inline constexpr std::chrono::milliseconds SplashDelay { 2000 };

// TForm2: the splash window, which closes itself the delay after it is made, or earlier by its
// close button.
std::unique_ptr<QDialog> MakeSplashWindow(
    QWidget* parent, std::chrono::milliseconds delay = SplashDelay);

// TForm3: About. Its link label calls openWebAddress with ProductWebAddress when clicked.
std::unique_ptr<QDialog> MakeAboutWindow(
    QWidget* parent, std::function<void(std::string_view)> openWebAddress);

// TForm5: program information.
std::unique_ptr<QDialog> MakeProgramInfoWindow(QWidget* parent);

} // namespace brzdomat

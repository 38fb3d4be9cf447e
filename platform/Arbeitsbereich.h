// The desktop work area (the screen rectangle that panels and task bars leave free) and the
// conversion between pixels and twips (1440 to the inch, per axis). The server asks the
// installed Arbeitsbereich, so tests can give a fixed one.
#pragma once

#include <QRect>

class Arbeitsbereich
{
public:
    virtual ~Arbeitsbereich() = default;
    virtual QRect pixel() const = 0;
    virtual double twipsProPixelX() const = 0;
    virtual double twipsProPixelY() const = 0;
};

// The primary screen's available geometry; 15 twips per pixel without a screen.
class BildschirmArbeitsbereich : public Arbeitsbereich
{
public:
    QRect pixel() const override;
    double twipsProPixelX() const override;
    double twipsProPixelY() const override;
};

// A fixed work area for tests.
class FesterArbeitsbereich : public Arbeitsbereich
{
public:
    explicit FesterArbeitsbereich(const QRect &pixel, double twipsX = 15.0, double twipsY = 15.0)
        : m_pixel(pixel), m_twipsX(twipsX), m_twipsY(twipsY)
    {
    }
    QRect pixel() const override { return m_pixel; }
    double twipsProPixelX() const override { return m_twipsX; }
    double twipsProPixelY() const override { return m_twipsY; }

private:
    QRect m_pixel;
    double m_twipsX;
    double m_twipsY;
};

// Installs the work area the server uses (not owned); nullptr restores the screen's.
void setzeArbeitsbereich(Arbeitsbereich *bereich);
Arbeitsbereich &arbeitsbereich();

// Conversions with the installed work area's factors (unrounded).
double pixelZuTwipsX(double pixel);
double pixelZuTwipsY(double pixel);
double twipsZuPixelX(double twips);
double twipsZuPixelY(double twips);

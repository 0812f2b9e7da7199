#pragma once

#include "widgets/MTabCtrl.h"

// A tab's page: a borderless hidden child with no content; the window shows and hides its own
// controls when the tab changes.
class CDlgPage1 : public MTabPage {
public:
    explicit CDlgPage1(QWidget* parent = nullptr) : MTabPage(parent) {}
};

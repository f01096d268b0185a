#pragma once

// The main window on the offscreen platform, in a program folder of its own, answered by fake
// prompts; and the plans its tests open.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QLabel>

#include "engine/calendar.h"
#include "planfiles/plan_file.h"
#include "tests/planfiles/test_files.h"
#include "tests/test_regional.h"
#include "tests/ui/fake_prompts.h"
#include "ui/main/main_window.h"

namespace ardvane::testing {

inline constexpr DayNumber kToday = 45458;  // 15 June 2024

// Params.ini permitting consolidation, with or without cash out, and negotiation.
inline std::string Params(bool cashOut) {
  return std::string("[Default]\nSetup Fee=995\nReturn Rate=6\nTerm=5\nInterest Rate=7.5\n"
                     "[Permissions]\nConsolidate=1\nNegotiate=1\nCashOut=") +
         (cashOut ? "1" : "0") + "\n";
}

inline PlanDocument TwoDebtPlan() {
  // The two-debt example: 1,000 at 12 % and 2,000 at 6 %, paying 100 each, minimums 50.
  PlanDocument plan;
  plan.FirstName = "Zuzu";
  plan.LastName = "Zeved";
  plan.Date = EncodeDate(2008, 1, 15);
  const auto add = [&plan](const char* name, double balance, double rate) {
    Debt debt;
    debt.Name = name;
    debt.Balance = balance;
    debt.InterestRate = Percent(rate);
    debt.CurrentPayment = 100;
    debt.MinimumPaymentAmount = 50;
    plan.Debts.AddDebt(debt);
  };
  add("A", 1000, 12);
  add("B", 2000, 6);
  add("C", 500, 18);
  return plan;
}

// The names of the window's debts, in order, run together.
inline std::string DebtNames(const MainWindow& window) {
  std::string text;
  for (const Debt& debt : window.Session().Plan().Debts) text += debt.Name;
  return text;
}

class MainWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<MainWindow> Open(std::vector<std::string> arguments = {}) {
    MainWindowOptions options;
    options.programFolder = folder.path();
    options.regional = kPointRegional;
    options.today = kToday;
    options.arguments = std::move(arguments);
    options.versionText = "0.1.0";
    auto window = std::make_unique<MainWindow>(options, prompts);
    window->show();
    return window;
  }
  std::filesystem::path SavePlan(const std::string& name, const PlanDocument& plan) {
    const auto path = folder / name;
    EXPECT_TRUE(SaveData(plan, path).ok());
    return path;
  }
  template <typename T>
  static T* Find(const MainWindow& window, const char* name) {
    T* child = window.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  static QString Text(const MainWindow& window, const char* label) {
    return Find<QLabel>(window, label)->text();
  }

  TempFolder folder;
  FakePrompts prompts;
};

}  // namespace ardvane::testing

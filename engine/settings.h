#pragma once

#include <string>

#include "engine/money.h"

namespace ardvane {

// The adviser's preferences (Settings.ini). Defaults are those of a missing file.
struct AppSettings {
  std::string CompanyName;
  std::string CompanyAddress;
  std::string CompanyCityStateZip;
  std::string CompanyPhone;
  std::string CompanyFax;
  std::string CompanyWebSite;
  std::string CompanyEMail;
  int DefaultCompoundingPeriod = 1;  // compounding code given to the new consolidation loan
  std::string ReportDirectory;
  std::string LastFile;
  bool PrintCurrentDebts = true;
  bool PrintPlanStrategy = true;
  bool PrintPayoffProjections = true;
  bool PrintOptions = true;
  bool PrintNewLoan = true;
  bool PrintReturnOnInvestment = true;
  bool PrintPayoffSchedule = true;
  bool PrintImmediateResults = true;
  bool PrintPaymentSchedule = true;
  bool PrintMonthlyPaymentTables = true;
  bool PrintAmortizationTables = true;
  bool PrintInvestmentProjections = true;
  bool PrintPlanFees = true;
  bool PrintContract = true;
  // Every paydown priority side by side, after the payoff projections; off unless chosen, so
  // reports stay as they were.
  bool PrintStrategiesCompared = false;
  int PrintLanguage = 0;  // 0 English, 1 Spanish, 99 ask at each print

  friend bool operator==(const AppSettings&, const AppSettings&) = default;
};

// The installation's defaults and permissions (Params.ini). A default-constructed value is
// what a missing Params.ini gives: everything zero, off or empty. Rates are fractions.
struct PlanParameters {
  std::string VersionName;
  Money NewLoanPaymentOverride;  // above 0: replaces the new loan's computed payment
  int DefaultPaydownPriority = 0;
  int DefaultTerm = 0;  // years
  Money DefaultAccelerator1;
  Money DefaultAccelerator2;
  Money DefaultAccelerator3;
  Money DefaultSetupFee;
  Money DefaultDownPayment;
  Money DefaultMonthlyFee;
  double DefaultReturnRate = 0;
  double DefaultSetupFeeRate = 0;
  double DefaultFees = 0;
  double DefaultInterestRate = 0;
  bool DefaultConsolidate = false;
  Money DefaultMinSetupFee;
  Money DefaultMinSavings;
  Money DefaultMinDownPayment;
  bool PermitConsolidate = false;
  bool PermitNegotiate = false;
  bool PermitCashOut = false;
  bool PermitLanguage = false;
  bool PermitPrintLog = false;
  bool DisableMinimumPaymentRate = false;

  friend bool operator==(const PlanParameters&, const PlanParameters&) = default;
};

}  // namespace ardvane

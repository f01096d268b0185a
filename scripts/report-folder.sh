# Sourced by the report checks: make_report_folder DIR makes DIR a program folder of the
# shipped files whose report directory is DIR/Reports/ and whose report has every section on.
make_report_folder() {
  local folder=$1 section
  mkdir -p "$folder/Reports"
  cp -r dist/. "$folder/"
  {
    echo "[Settings]"
    echo "Report Directory=$folder/Reports/"
    echo "[Print]"
    for section in "Current Debts" "Plan Strategy" "Payoff Projections" "Options" "New Loan" \
        "Return On Investment" "Payoff Schedule" "Immediate Results" "Payment Schedule" \
        "Monthly Payment Tables" "Amortization Tables" "Investment Projections" "Plan Fees" \
        "Contract" "Strategies Compared"; do
      echo "$section=1"
    done
  } > "$folder/Settings.ini"
}

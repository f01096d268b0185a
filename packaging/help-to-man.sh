#!/bin/sh
# Writes the manual page ardvane.1 from the program's own --help and --version texts, so
# that the page and the program cannot disagree.
# Usage: help-to-man.sh PROGRAM OUTPUT
set -eu
program=$1
output=$2

version=$("$program" --version)
help=$("$program" --help)
tmp="$output.tmp"
trap 'rm -f "$tmp"' EXIT

printf '%s\n' "$help" | awk -v version="$version" '
  # Text for roff: backslashes kept, hyphens as minus signs (they are options), and a line
  # that would start with a control character made plain.
  function roff(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    if (text ~ /^[.\047]/) text = "\\&" text
    return text
  }
  function flush_mode() {
    if (mode != "") {
      modes[++count] = mode
      texts[count] = text
    }
    mode = ""; text = ""
  }
  /^Usage:/ { next }
  /^  ardvane/ && !closing { flush_mode(); mode = substr($0, 3); next }
  /^      / && !closing && mode != "" { line = $0; sub(/^ +/, "", line); text = text (text == "" ? "" : " ") line; next }
  /^$/ { flush_mode(); closing = 1; next }
  closing { notes = notes (notes == "" ? "" : " ") $0; next }
  { print "help-to-man: unexpected line in the help text: " $0 > "/dev/stderr"; bad = 1 }
  END {
    flush_mode()
    if (bad || count == 0) exit 1
    print ".TH ARDVANE 1 \"\" \"" roff(version) "\" \"User Commands\""
    print ".SH NAME"
    print "ardvane \\- debt elimination plans and client reports for debt counsellors"
    print ".SH SYNOPSIS"
    print ".nf"
    for (i = 1; i <= count; ++i) print roff(modes[i])
    print ".fi"
    print ".SH DESCRIPTION"
    print "Ardvane simulates every debt of a client month by month, as the client pays today and"
    print "under an accelerated rollover plan, and writes the client report."
    for (i = 1; i <= count; ++i) {
      print ".TP"
      print "\\fB" roff(modes[i]) "\\fR"
      print roff(texts[i])
    }
    if (notes != "") {
      print ".SH OPTIONS"
      print roff(notes)
    }
    print ".SH FILES"
    print ".TP"
    print ".I /usr/share/ardvane/"
    print "The installed payload: templates, help, parameters and the sample plan."
    print ".TP"
    print ".I ~/.local/share/ardvane/"
    print "The program folder of an installed program (\\fB$XDG_DATA_HOME/ardvane/\\fR when set):"
    print "Settings.ini, the print log, Reports/ and the files copied from the payload, which the"
    print "office or the adviser may edit."
  }
' > "$tmp"
mv "$tmp" "$output"

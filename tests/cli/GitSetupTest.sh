#!/usr/bin/env bash
# The README's git set-up, run as the README writes it, in a scratch repository with the built
# quill on the PATH: git diff, git log -p and git show print layouts as text, quill diff serves as
# git difftool, and quill merge as the merge driver, merging what it can and leaving a conflict
# conflicted with ours.
#   GitSetupTest.sh QUILL_FOLDER README.md SAMPLES_FOLDER
set -euo pipefail
quill_folder=$1 readme=$2 samples=$3
export PATH="$quill_folder:$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# git as it comes, whatever the configuration of the user running the test.
export HOME="$work" GIT_CONFIG_NOSYSTEM=1

fail() {
  echo "FAILED: $*" >&2
  exit 1
}
# The text of a layout file as to-text gives it.
text_of() { quill to-text "$1"; }
# Whether the text holds this line. (Output is caught first: grep -q ending a pipe early would
# fail its writer under pipefail.)
has_line() { grep -qxF -- "$1" <<<"$2"; }
# Replaces one line of the layout's text form and writes the layout back.
edit() { # FILE OLD-LINE NEW-LINE
  quill to-text "$1" -o "$work/edit.json"
  grep -qxF "$2" "$work/edit.json" || fail "no line '$2' in $1"
  sed -i "s|^$2\$|$3|" "$work/edit.json"
  quill from-text "$work/edit.json" -o "$1"
  rm -f "$1.bak"
}
commit() { git add -A && git commit -qm "$1"; }

setup=$(sed -n '/<!-- git-setup -->/,/<!-- end git-setup -->/p' "$readme" | sed '/^```/d;/^<!--/d')
[ -n "$setup" ] || fail "the README has no git set-up between <!-- git-setup --> marks"

cd "$work"
git init -q repo
cd repo
git config user.name "Quill Test"
git config user.email "quill@example.invalid"
git config commit.gpgsign false
eval "$setup"
cp "$samples/mill.set" mill.set
cp "$samples/lathe.lset" lathe.lset
commit "layouts"
git checkout -q -b base

# textconv: the diff, the log and show print the text form.
edit mill.set '      "rText": "Spindle",' '      "rText": "Spindle On",'
diff=$(git diff -- mill.set)
has_line '+      "rText": "Spindle On",' "$diff" || fail "git diff shows no text: $diff"
has_line '-      "rText": "Spindle",' "$diff" || fail "git diff shows no text: $diff"
commit "Spindle On"
has_line '+      "rText": "Spindle On",' "$(git log -p -1)" || fail "git log -p shows no text"
has_line '+      "rText": "Spindle On",' "$(git show HEAD -- mill.set)" || fail "git show shows no text"

# difftool: quill diff compares the two versions control by control.
difftool=$(git difftool -y -t quill HEAD~1 HEAD -- mill.set)
grep -q 'changed record [0-9]* -> [0-9]*: [^"]*"Spindle On": rText "Spindle" -> "Spindle On"' \
  <<<"$difftool" || fail "git difftool did not run quill diff: $difftool"

# The merge driver: edits of different controls merge.
git checkout -q -b ours
edit mill.set '      "rText": "Emergency",' '      "rText": "E-Stop",'
commit "E-Stop"
git checkout -q base
git checkout -q -b theirs
edit mill.set '      "rText": "Plugin page",' '      "rText": "Plugins",'
commit "Plugins"
git checkout -q ours
git merge -q --no-edit theirs >"$work/merge.txt" 2>&1 || fail "the merge failed: $(cat "$work/merge.txt")"
merged=$(text_of mill.set)
has_line '      "rText": "E-Stop",' "$merged" || fail "ours' edit is lost"
has_line '      "rText": "Plugins",' "$merged" || fail "theirs' edit is lost"
git diff --quiet HEAD || fail "the merge left changes"

# The same field changed both ways: a conflict, listed, the file holding ours and left unmerged.
git checkout -q -b ours2 base
edit mill.set '      "rText": "G-code",' '      "rText": "G-code ours",'
commit "G-code ours"
git checkout -q -b theirs2 base
edit mill.set '      "rText": "G-code",' '      "rText": "G-code theirs",'
commit "G-code theirs"
git checkout -q ours2
if git merge --no-edit theirs2 >"$work/conflict.txt" 2>&1; then
  fail "a conflicting merge succeeded"
fi
grep -q 'conflict screen [0-9]* record [0-9]*: [^"]*"G-code ours": rText: base "G-code", ours "G-code ours", theirs "G-code theirs"; ours kept' \
  "$work/conflict.txt" || fail "the conflict is not listed: $(cat "$work/conflict.txt")"
[ -n "$(git ls-files -u -- mill.set)" ] || fail "mill.set is not left unmerged"
has_line '      "rText": "G-code ours",' "$(text_of mill.set)" || fail "mill.set does not hold ours"
leftover=$(git status --porcelain --untracked-files=all | grep -v ' mill.set$' || true)
[ -z "$leftover" ] || fail "the merge left files behind: $leftover"
git merge --abort

# A damaged layout in the history: git log -p shows it as one line and reads on past it.
git checkout -q -b damaged base
head -c 500 "$samples/mill.set" >mill.set
commit "damaged"
cp "$samples/mill.set" mill.set
commit "mended"
log=$(git log -p -3 -- mill.set 2>&1) || fail "git log -p stops at a damaged layout: $log"
grep -q '^[-+]damaged layout: Cannot read layout file ".*": it ends inside record' <<<"$log" ||
  fail "git log -p does not name the damage: $log"
grep -qF "Spindle On" <<<"$log" || fail "git log -p does not read on past the damaged layout"

echo "git set-up: textconv, difftool and merge driver work"

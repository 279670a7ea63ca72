#!/usr/bin/env bash
# Takes the pictures in docs/ from the real program in a real window under
# Xvfb, with the demo roads of docs/demo/. Run after a build (scripts/run.sh or
# scripts/test.sh): bash scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."
app=build/trazmark
# One picture: FILE, then the program's options (--open-road N presses road
# button N, --view KIND shows a data view, --list-mode, --press, --slope-steps,
# --select-row (a row of the list on show), --edit-row (a row's edit dialog),
# --delete-row (a row deleted), --edit-menu (the Edit menu open),
# --size, --plan-file and --hover pick what the view shows; --station shows the
# cross-section map at a station; --out-of-date then reports an edit of the view).
shot() {
  local out=$1
  shift
  xvfb-run -a -s "-screen 0 1400x900x24" "$app" --screenshot "docs/$out" "$@"
}
shot screenshot.png --open-road 0 --view 2 --list-mode 1 docs/demo/roads.txt
shot flat_cross.png --lang en --open-road 0 --view 2 --list-mode 1 docs/demo/roads.txt
shot flat_element.png --lang en --open-road 1 --view 2 --list-mode 1 docs/demo/roads.txt
shot flat_line_element.png --lang en --open-road 2 --view 2 --list-mode 1 docs/demo/roads.txt
shot flat_line_element_input.png --lang en --open-road 2 --view 2 --list-mode 0 docs/demo/roads.txt
# The stake list as a stake-out crew uses it: the stakes and the key points
# among them, a curve's start selected; in English and Chinese.
shot flat-stakes.png --lang en --open-road 0 --view 2 --list-mode 2 --select-row 17 docs/demo/roads.txt
shot flat-stakes-zh.png --open-road 0 --view 2 --list-mode 2 --select-row 17 docs/demo/roads.txt
# The navigation pane keeps its buttons' size and place from view to view.
shot navigation-roads.png --lang en --view 0 docs/demo/xsect-roads.txt
shot navigation-alignment.png --lang en --open-road 0 --view 2 --list-mode 1 docs/demo/xsect-roads.txt
shot navigation-roads-zh.png --view 0 docs/demo/xsect-roads.txt
shot navigation-alignment-zh.png --open-road 0 --view 2 --list-mode 1 docs/demo/xsect-roads.txt
shot profile-map.png --open-road 0 --view 3 --press drawButton docs/demo/profile-section-demo.list
shot cross-section-map.png --open-road 0 --view 4 --press graphicsButton docs/demo/profile-section-demo.list
# A grade point deleted: the Edit menu names the step to undo, the title marks the edit.
shot edit-undo.png --lang en --open-road 0 --view 3 --delete-row 1 --edit-menu docs/demo/profile-section-demo.list
shot edit-undo-zh.png --open-road 0 --view 3 --delete-row 1 --edit-menu docs/demo/profile-section-demo.list
# The same two maps in English: axes and a scale bar of a round length, no north arrow.
shot profile-map-en.png --lang en --open-road 0 --view 3 --press drawButton docs/demo/profile-section-demo.list
shot cross-section-map-en.png --lang en --open-road 0 --view 4 --press graphicsButton docs/demo/profile-section-demo.list
# The section at a station after an edit: the note says the drawing is out of date.
shot map-out-of-date.png --lang en --open-road 0 --view 4 --press graphicsButton --station K0+200 --out-of-date docs/demo/terrain-demo.list
# The ground: the demo road's terrain (docs/demo/terrain-demo.csv, named in
# terrain-demo.REC.ground beside the road) under the profile, across the road
# at a station, and under the plan.
shot profile-ground.png --lang en --open-road 0 --view 3 --press drawButton docs/demo/terrain-demo.list
shot section-station.png --lang en --open-road 0 --view 4 --press graphicsButton --station K1+000 docs/demo/terrain-demo.list
shot plan-terrain.png --lang en --open-road 0 --view 2 --list-mode 1 docs/demo/terrain-demo.list
# The earthwork over that ground (the demo road has side slopes): the
# section at a station in cut with its ditches, the earthwork list computed
# on the worker thread, and the mass-haul diagram in the drawing pane.
shot section-earthwork.png --lang en --open-road 0 --view 4 --press graphicsButton --station K0+200 docs/demo/terrain-demo.list
shot earthwork-list.png --lang en --open-road 0 --view 3 --press drawButton --earthwork list docs/demo/terrain-demo.list
shot mass-haul-window.png --lang en --open-road 0 --view 4 --press graphicsButton --earthwork mass-haul docs/demo/terrain-demo.list
shot xsect-chains.png --open-road 0 --view 1 docs/demo/xsect-roads.txt
shot xsect-slopes.png --open-road 0 --view 5 docs/demo/xsect-roads.txt
shot xsect-slope-steps.png --lang en --open-road 0 --view 5 --slope-steps 0 docs/demo/xsect-roads.txt
shot xsect-superelevation.png --open-road 0 --view 6 docs/demo/xsect-roads.txt
shot xsect-superelevation-edit.png --lang en --open-road 0 --view 6 --edit-row 3 docs/demo/xsect-roads.txt
shot xsect-widening.png --open-road 0 --view 7 docs/demo/xsect-roads.txt
shot file-commands.png --open-road 0 --view 2 --list-mode 1 docs/demo/roads.SR
shot navigation-short.png --size 960x450 --open-road 0 --view 1 docs/demo/xsect-roads.txt
shot plan-station-readout.png --lang en --view 2 --plan-file docs/locate-demo/demo.TDFE --hover 3500362.1816,500344.8423
# The very first start, without a road list: the demo roads, in a home of its own.
first_home=$(mktemp -d)
HOME="$first_home" XDG_CONFIG_HOME="$first_home/.config" XDG_DATA_HOME="$first_home/.local/share" \
  shot first-start.png --lang en
rm -rf "$first_home"
shot landxml-import.png --open-road 0 --view 2 --list-mode 1 docs/demo/landxml-demo.list
# A road of 40 tight curves whose 197 key points crowd the plan at full
# extent: the names that fit.
cli=build/src/cli/trazmark-cli
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$cli" curve docs/demo/winding.RP -o "$scratch/winding.RP.TDFE"
shot plan-labels.png --open-road 0 --view 2 --plan-file "$scratch/winding.RP.TDFE" docs/demo/roads.txt
# File → Tables: the subgrade design of the demo road over its ground, and
# the curve elements of a road of intersection points.
shot tables-view.png --lang en --open-road 0 --tables 3 docs/demo/terrain-demo.list
shot tables-curve-elements.png --lang en --open-road 0 --tables 0 docs/demo/roads.txt
# Drawings written by the command-line tool: white paper by default.
"$cli" plan docs/demo/demo_jd.REC -o docs/drawing-plan.png
"$cli" profile-plot docs/demo/profile-section-demo.REC -o docs/drawing-profile.png
"$cli" section-plot docs/demo/terrain-demo.REC --station 1400 -o docs/drawing-section-station.png
# A page of the cross-section sheets (PNG sheets are one file a page) and
# the mass-haul diagram; the pond leaves some sections without ground on one
# side, which the diagram is told to count as no area.
"$cli" section-sheets docs/demo/terrain-demo.REC --from 160 --to 460 -o "$scratch/sheet.png"
cp "$(ls "$scratch"/sheet*.png | head -n 1)" docs/section-sheet.png
"$cli" mass-haul docs/demo/terrain-demo.REC --allow-incomplete --size 1200x600 -o docs/drawing-mass-haul.png
# The first page of each table's PDF, as File → Tables and `table` write it,
# at 60 dpi (pdftoppm, from poppler-utils). The demo road has no
# superelevation, so that table has no picture.
for kind in curves stakes grades subgrade; do
  "$cli" table "$kind" docs/demo/terrain-demo.REC --lang en -o "$scratch/$kind.pdf"
  pdftoppm -png -r 60 -f 1 -l 1 "$scratch/$kind.pdf" "$scratch/$kind"
  cp "$(ls "$scratch/$kind"-*.png | head -n 1)" "docs/table-$kind-pdf.png"
done
# The as-built check: the demo survey of the terrain demo road checked in
# the window (the points on the plan, zoomed in on a curve in the middle, and
# the list), and the first page of its PDF report, written by the report's own
# page code and rasterised by pdftoppm.
shot survey-check-plan.png --lang en --size 1400x900 --open-road 0 --view 2 --list-mode 1 \
  --check-points docs/demo/terrain-demo-survey.csv --check-report "$scratch/check.pdf" --zoom-at 400,800,19 \
  docs/demo/terrain-demo.list
pdftoppm -png -r 100 -f 1 -l 1 "$scratch/check.pdf" "$scratch/check"
cp "$(ls "$scratch"/check-*.png | head -n 1)" docs/survey-check-report.png
# The pages write their method and list files beside the demo roads; they are
# not part of the pictures' sources.
git clean -qfX docs/demo >/dev/null 2>&1 || true

#!/usr/bin/env bash
# Renders the shipped example's report and heatmap in headless chromium and checks them: no
# console messages, no external reference, well-formed XML, and pictures that are not blank.
# Usage: scripts/browser_check.sh [build-dir [png-to-update]]
#   png-to-update (e.g. examples/bladder_report.png) receives the report's screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
update=${2:-}
python=${PYTHON:-/usr/bin/python3}  # Debian's, which has python3-pil

scripts/need_packages.sh chromium python3 python3-pil

cmake --build "$build" -j2 --target clusterer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Run inside the scratch folder by plain names, so the report's command line reads as a user's.
ln -s "$PWD/examples" "$work/examples"
bin=$(cd "$build/cluster" && pwd)
(cd "$work" && PATH="$bin:$PATH" clusterer -i examples/bladder_top1000.txt \
  -num_clusters 5 -center -normalize -seed 2024 -restarts 10 -heatmap heatmap.svg \
  -report report.html > /dev/null)

# A fresh profile per page; nothing reaches the network or starts background services.
render() {  # page.png width height page
  rm -rf "$work/profile"
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --hide-scrollbars --enable-logging=stderr --v=0 \
    --window-size="$2,$3" --screenshot="$1" "file://$4" 2>> "$work/chromium.log" || true
}
svg_size=$("$python" -c "import sys, xml.etree.ElementTree as E; r = E.parse(sys.argv[1]).getroot(); \
print(r.get('width'), r.get('height'))" "$work/heatmap.svg")
render "$work/report.png" 1280 3000 "$work/report.html"
render "$work/heatmap.png" ${svg_size% *} ${svg_size#* } "$work/heatmap.svg"

"$python" - "$work" <<'PY'
import re, sys, xml.etree.ElementTree as ET
from PIL import Image

work = sys.argv[1]
faults = []
log = open(f"{work}/chromium.log", encoding="utf-8", errors="replace").read()
faults += ["console: " + line for line in log.splitlines() if ":CONSOLE" in line]

page = open(f"{work}/report.html", encoding="utf-8").read()
for external in ("<script", "src=", "href=", "url(", "@import"):
    if external in page:
        faults.append("the report refers outside itself: " + external)
if re.search(r"https?://(?!www\.w3\.org/2000/svg)", page):
    faults.append("the report names an address other than the SVG namespace")

svg = "{http://www.w3.org/2000/svg}svg"
heat = None
try:
    root = ET.parse(f"{work}/heatmap.svg").getroot()
    heat = root.find(svg)  # the cell area, the one nested svg element
    body = ET.fromstring(page.split("\n", 1)[1])  # all but the doctype line is well-formed XML
    if len(body.findall(".//" + svg)) < 3:
        faults.append("the report lacks its charts or heatmap")
except ET.ParseError as e:
    faults.append("XML does not parse: %s" % e)

def background_share(image, box, is_background):
    pixels = list(image.crop(box).getdata())
    return sum(1 for p in pixels if is_background(p)) / max(len(pixels), 1)

for name in ("report", "heatmap"):
    try:
        image = Image.open(f"{work}/{name}.png").convert("RGB")
    except OSError as e:
        faults.append(f"{name}: no screenshot ({e})")
        continue
    colours = len(image.getcolors(1 << 24) or [])
    if colours < 16:
        faults.append(f"{name}: only {colours} colours")
    if name == "heatmap" and heat is not None:
        x, y, w, h = (int(float(heat.get(a))) for a in ("x", "y", "width", "height"))
        white = background_share(image, (x, y, x + w, y + h), lambda p: min(p) >= 245)
        if white > 0.5:
            faults.append(f"heatmap: {white:.0%} of the cell area is blank")
        print(f"heatmap: {colours} colours, {1 - white:.0%} of the cell area coloured")
    else:
        page_bg = image.getpixel((2, 2))
        blank = background_share(image, (0, 0) + image.size, lambda p: p == page_bg)
        if blank > 0.95:
            faults.append(f"report: {blank:.0%} of the page is background")
        print(f"report: {colours} colours, {1 - blank:.0%} of the page drawn")
        # The window is taller than the page: keep the picture down to the last drawn line.
        from PIL import ImageChops
        box = ImageChops.difference(image, Image.new("RGB", image.size, page_bg)).getbbox()
        if box:
            image.crop((0, 0, image.size[0], min(box[3] + 24, image.size[1]))).save(
                f"{work}/report_trimmed.png", optimize=True)

for fault in faults:
    print("FAIL", fault)
sys.exit(1 if faults else 0)
PY
if [[ -n $update ]]; then
  cp "$work/report_trimmed.png" "$update"
  echo "Screenshot written to $update"
fi
echo "browser check passed"

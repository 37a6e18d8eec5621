# shellcheck shell=bash
# Tolerant checks of screenshots of the face against frames that norvale-skin draws from the
# same skin. The program draws its text with GDI and norvale-skin with FreeType, so the two
# never match pixel for pixel: a region is compared after a slight blur, and a check either
# asks which of several candidate frames a region is nearest to or whether a region differs
# from a frame drawn without the element in question. Needs clock_face.sh, $out and
# $NORVALE_SKIN_TOOL (the norvale-skin program).

# render NAME SKIN_FOLDER OPTION...: a frame of norvale-skin, flattened on the black screen
# behind the face the way Xvfb shows it, as $out/NAME.png.
render() {
    local name=$1 folder=$2 frame
    shift 2
    frame=$(mktemp --suffix=.png)
    "$NORVALE_SKIN_TOOL" render "$folder" "$@" -o "$frame" >/dev/null ||
        die "norvale-skin could not draw $name"
    /usr/bin/convert "$frame" -background black -flatten "$out/$name.png"
    rm -f "$frame"
}

# distance A B REGION: how far apart a region of two images is, as thousandths of the full
# range (root mean square over the pixels blurred by $compare_blur, 0x1 unless set; 0x0
# compares them as they are).
distance() {
    local a b d
    a=$(mktemp --suffix=.png)
    b=$(mktemp --suffix=.png)
    /usr/bin/convert "$out/$1.png" -crop "$3" +repage -blur "${compare_blur:-0x1}" "$a"
    /usr/bin/convert "$out/$2.png" -crop "$3" +repage -blur "${compare_blur:-0x1}" "$b"
    d=$(/usr/bin/compare -metric RMSE "$a" "$b" /dev/null 2>&1 || true)
    rm -f "$a" "$b"
    d=${d#*(}
    awk -v d="${d%)*}" 'BEGIN { printf "%d\n", d * 1000 + 0.5 }'
}

# nearest SHOT REGION CANDIDATE...: prints the candidate whose region is nearest the shot's.
nearest() {
    local shot=$1 region=$2 best='' best_d='' candidate d
    shift 2
    for candidate in "$@"; do
        d=$(distance "$shot" "$candidate" "$region")
        if [ -z "$best_d" ] || [ "$d" -lt "$best_d" ]; then
            best=$candidate best_d=$d
        fi
    done
    printf '%s\n' "$best"
}

# expect_nearest WHAT SHOT REGION EXPECTED CANDIDATE...: fails unless EXPECTED is nearest.
expect_nearest() {
    local what=$1 shot=$2 region=$3 expected=$4 found
    shift 4
    found=$(nearest "$shot" "$region" "$@")
    [ "$found" = "$expected" ] || die "$what: $shot looks like $found, not $expected"
}

# shows SHOT REGION WITHOUT: whether the shot has something in the region that the frame
# WITHOUT (drawn without that element) lacks.
shows() {
    [ "$(distance "$1" "$3" "$2")" -gt 30 ]
}

# The centre of the default skin, where every hand and the pivot cap over them are drawn
# whenever the hands are shown; the am/pm marker; the whole face but the title and weekday.
pivot='16x8+67+68'
ampm='16x10+110+101'

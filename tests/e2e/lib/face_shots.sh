# Screenshots of the clock's face and comparisons of their regions, for the end-to-end
# scripts. Needs $out (a folder) and the face's screen position in $X and $Y.

# shot NAME: the face as it is now.
shot() {
    /usr/bin/import -window root -crop "150x150+$X+$Y" +repage "$out/$1.png"
}

# differ A B REGION: how many pixels of the region (WxH+X+Y on the face) differ.
differ() {
    local a b n
    a=$(mktemp --suffix=.png)
    b=$(mktemp --suffix=.png)
    /usr/bin/convert "$out/$1.png" -crop "$3" +repage "$a"
    /usr/bin/convert "$out/$2.png" -crop "$3" +repage "$b"
    n=$(/usr/bin/compare -metric AE "$a" "$b" /dev/null 2>&1 || true)
    rm -f "$a" "$b"
    printf '%s\n' "${n%% *}"
}

# Regions of the default skin's face.
title='90x12+31+77'
readout='64x14+43+100'
weekday='60x8+45+87'
hands='40x40+55+30'

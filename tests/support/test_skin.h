#pragma once

namespace norvale::testing {

// A complete "skin.xml" naming face.png, buttons.png, glass.png, dglass.png, ampm.png,
// hands\hour.png, hands/minute.png and second.png, its chime sound\chime.mp3.
inline constexpr char kTestSkinXml[] = R"(<skin>
<clockface width="600" height="400">face.png</clockface>
<buttons>buttons.png</buttons>
<glass>glass.png</glass>
<digital_glass>dglass.png</digital_glass>
<pmam>ampm.png</pmam>
<hours><filename>hands\hour.png</filename><bitmapCenter x="4" y="42.5"/><position x="75" y="75"/></hours>
<minutes><filename>hands/minute.png</filename><bitmapCenter x="2.5" y="51"/><position x="75" y="75"/></minutes>
<seconds><filename>second.png</filename><bitmapCenter x="3.5" y="61"/><position x="70" y="80"/></seconds>
<sounds><chime>sound\chime.mp3</chime></sounds>
<label id="title" text="clock" x="45" y="77" width="89" height="11" align="center"><font name="Sans" size="7" color="$C29CA0"/></label>
<label id="weekday" text="WEDNESDAY" x="60" y="85" align="center"><font name="Sans" size="8" color="clSilver"/></label>
<label id="time" text="00:00:00" x="57" y="102" align="center"><font name="Digital" size="9" color="$96BED3"/></label>
<label id="timebg" text="88:88:88" x="57" y="102" align="center"><font name="Digital" size="14" color="$3C3434"/></label>
<label id="date" text="date" x="79" y="123" align="right"><font name="" size="7" color="clBlack"/></label>
<label id="ampm" text="AMPM" x="131" y="101" width="30" align="left"><font name="Sans" size="8" color="clWhite"/></label>
<button id="left" x="12" y="60" width="20" height="10"/>
<button id="right" x="112" y="61" width="21" height="11"/>
</skin>)";

} // namespace norvale::testing

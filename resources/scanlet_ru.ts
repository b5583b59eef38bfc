<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AboutWindowGUI</name>
    <message>
        <source>About Scanlet</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDataManager</name>
    <message>
        <source>Load Data From Connected Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Selected Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Selected Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.25</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2.25</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>6.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7.5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>15.0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instrument Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A-scans (*.jpg)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Incorrect file name &quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;!
You should enter another one!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An inserted ultrasonic defectoscope was detected. The program is looking for
available data. Please, wait.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data are being loaded. Loaded:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The program is loading available data. Please, wait.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to get system information about present disks!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to save data!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A number of data couldn&apos;t be saved!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file &quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot; already exists!
Do you want to rewrite it?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file &quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Version %1.%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tarnwell Instruments</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Devices for non-destructive testing of metals, plastics and concrete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Development and production.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thank you for using our products.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm depth</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>µs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mm path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0.1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Probe type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>double</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>single</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operating frequency, MHz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Probe angle,°</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay, µs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thickness, inch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thickness, mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference level, dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correction by standart, dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correction for roughness, dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Acceptance level, dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multilevel Strobe</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reporting level, dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Examination monitor, dB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scale</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Readings discreteness</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CDataManagerTempl</name>
    <message>
        <source>Instrument Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CHelpViewer</name>
    <message>
        <source>Scanlet</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dlg_infoLoad</name>
    <message>
        <source>Data Loading</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>dlg_infoSave</name>
    <message>
        <source>Data Saving</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data are being saved. Saved:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

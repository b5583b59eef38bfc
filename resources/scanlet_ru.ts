<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>AboutWindowGUI</name>
    <message>
        <source>About Scanlet</source>
        <translation>О программе Scanlet</translation>
    </message>
</context>
<context>
    <name>CDataManager</name>
    <message>
        <source>Load Data From Connected Device</source>
        <translation>Загрузить данные с подключённого прибора</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Открыть файл</translation>
    </message>
    <message>
        <source>Save Selected Files</source>
        <translation>Сохранить выбранные файлы</translation>
    </message>
    <message>
        <source>Print Selected Files</source>
        <translation>Печать выбранных файлов</translation>
    </message>
    <message>
        <source>View Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>About Program</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Вперёд</translation>
    </message>
    <message>
        <source>0.5</source>
        <translation>0.5</translation>
    </message>
    <message>
        <source>0.8</source>
        <translation>0.8</translation>
    </message>
    <message>
        <source>1.0</source>
        <translation>1.0</translation>
    </message>
    <message>
        <source>1.25</source>
        <translation>1.25</translation>
    </message>
    <message>
        <source>1.5</source>
        <translation>1.5</translation>
    </message>
    <message>
        <source>1.8</source>
        <translation>1.8</translation>
    </message>
    <message>
        <source>2.0</source>
        <translation>2.0</translation>
    </message>
    <message>
        <source>2.25</source>
        <translation>2.25</translation>
    </message>
    <message>
        <source>2.5</source>
        <translation>2.5</translation>
    </message>
    <message>
        <source>3.5</source>
        <translation>3.5</translation>
    </message>
    <message>
        <source>4.0</source>
        <translation>4.0</translation>
    </message>
    <message>
        <source>5.0</source>
        <translation>5.0</translation>
    </message>
    <message>
        <source>6.0</source>
        <translation>6.0</translation>
    </message>
    <message>
        <source>7.5</source>
        <translation>7.5</translation>
    </message>
    <message>
        <source>10.0</source>
        <translation>10.0</translation>
    </message>
    <message>
        <source>15.0</source>
        <translation>15.0</translation>
    </message>
    <message>
        <source>Configuration </source>
        <translation>Конфигурация </translation>
    </message>
    <message>
        <source>Instrument Settings</source>
        <translation>Настройки прибора</translation>
    </message>
    <message>
        <source>A-scans (*.jpg)</source>
        <translation>А-сканы (*.jpg)</translation>
    </message>
    <message>
        <source>Incorrect file name &quot;</source>
        <translation>Неверное имя файла «</translation>
    </message>
    <message>
        <source>&quot;!
You should enter another one!</source>
        <translation>»!
Выберите другой файл!</translation>
    </message>
    <message>
        <source>An inserted ultrasonic defectoscope was detected. The program is looking for
available data. Please, wait.</source>
        <translation>Обнаружен подключённый ультразвуковой дефектоскоп. Программа ищет доступные данные. Пожалуйста, подождите.</translation>
    </message>
    <message>
        <source>Data are being loaded. Loaded:</source>
        <translation>Идёт загрузка данных. Загружено:</translation>
    </message>
    <message>
        <source>The program is loading available data. Please, wait.</source>
        <translation>Программа загружает доступные данные. Пожалуйста, подождите.</translation>
    </message>
    <message>
        <source>Unable to get system information about present disks!</source>
        <translation>Не удалось получить системную информацию об имеющихся дисках!</translation>
    </message>
    <message>
        <source>Configuration: </source>
        <translation>Конфигурация: </translation>
    </message>
    <message>
        <source>SETTINGS</source>
        <translation>НАСТРОЙКИ</translation>
    </message>
    <message>
        <source>Select Directory</source>
        <translation>Выбор папки</translation>
    </message>
    <message>
        <source>Unable to save data!</source>
        <translation>Не удалось сохранить данные!</translation>
    </message>
    <message>
        <source>A number of data couldn&apos;t be saved!</source>
        <translation>Часть данных не удалось сохранить!</translation>
    </message>
    <message>
        <source>The file &quot;</source>
        <translation>Файл «</translation>
    </message>
    <message>
        <source>&quot; already exists!
Do you want to rewrite it?</source>
        <translation>» уже существует!
Перезаписать его?</translation>
    </message>
    <message>
        <source>Couldn&apos;t delete file &quot;</source>
        <translation>Не удалось удалить файл «</translation>
    </message>
    <message>
        <source>&quot;!</source>
        <translation>»!</translation>
    </message>
    <message>
        <source> Version %1.%2</source>
        <translation>, версия %1.%2</translation>
    </message>
    <message>
        <source>Tarnwell Instruments</source>
        <translation>Tarnwell Instruments</translation>
    </message>
    <message>
        <source>Devices for non-destructive testing of metals, plastics and concrete.</source>
        <translation>Приборы для неразрушающего контроля металлов, пластмасс и бетона.</translation>
    </message>
    <message>
        <source>Development and production.</source>
        <translation>Разработка и производство.</translation>
    </message>
    <message>
        <source>Thank you for using our products.</source>
        <translation>Благодарим вас за выбор нашей продукции.</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>on</source>
        <translation>вкл</translation>
    </message>
    <message>
        <source>off</source>
        <translation>выкл</translation>
    </message>
    <message>
        <source>mm depth</source>
        <translation>мм, по глубине</translation>
    </message>
    <message>
        <source>µs</source>
        <translation>мкс</translation>
    </message>
    <message>
        <source>mm path</source>
        <translation>мм, по лучу</translation>
    </message>
    <message>
        <source>0.1</source>
        <translation>0.1</translation>
    </message>
    <message>
        <source>Probe type</source>
        <translation>Тип ПЭП</translation>
    </message>
    <message>
        <source>double</source>
        <translation>РС</translation>
    </message>
    <message>
        <source>single</source>
        <translation>совмещённый</translation>
    </message>
    <message>
        <source>Operating frequency, MHz</source>
        <translation>Рабочая частота, МГц</translation>
    </message>
    <message>
        <source>Probe angle,°</source>
        <translation>Угол ввода,°</translation>
    </message>
    <message>
        <source>Delay, µs</source>
        <translation>Задержка, мкс</translation>
    </message>
    <message>
        <source>Thickness, inch</source>
        <translation>Толщина, дюйм</translation>
    </message>
    <message>
        <source>Thickness, mm</source>
        <translation>Толщина, мм</translation>
    </message>
    <message>
        <source>Reference level, dB</source>
        <translation>Опорный уровень, дБ</translation>
    </message>
    <message>
        <source>Correction by standart, dB</source>
        <translation>Поправка по образцу, дБ</translation>
    </message>
    <message>
        <source>Correction for roughness, dB</source>
        <translation>Попр. на шероховатость, дБ</translation>
    </message>
    <message>
        <source>Acceptance level, dB</source>
        <translation>Браковочный уровень, дБ</translation>
    </message>
    <message>
        <source>Multilevel Strobe</source>
        <translation>Многоуровневый строб</translation>
    </message>
    <message>
        <source>Reporting level, dB</source>
        <translation>Уровень фиксации, дБ</translation>
    </message>
    <message>
        <source>Examination monitor, dB</source>
        <translation>Поисковый уровень, дБ</translation>
    </message>
    <message>
        <source>Scale</source>
        <translation>Развёртка</translation>
    </message>
    <message>
        <source>Readings discreteness</source>
        <translation>Дискретность показаний</translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation>Курсор</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Дата</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Время</translation>
    </message>
    <message>
        <source>Export Settings</source>
        <translation>Экспорт настроек</translation>
    </message>
    <message>
        <source>Couldn&apos;t write the file &quot;%1&quot;!</source>
        <translation>Не удалось записать файл «%1»!</translation>
    </message>
    <message>
        <source>page %1 of %2</source>
        <translation>стр. %1 из %2</translation>
    </message>
    <message>
        <source>There is no file or folder &quot;%1&quot;!</source>
        <translation>Файл или папка &quot;%1&quot; не найдены!</translation>
    </message>
    <message>
        <source>%1 — %2</source>
        <translation>%1 — %2</translation>
    </message>
    <message numerus="yes">
        <source> — %n selected</source>
        <translation>
            <numerusform> — выбран %n</numerusform>
            <numerusform> — выбрано %n</numerusform>
            <numerusform> — выбрано %n</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message numerus="yes">
        <source>Print %n records, one page each?</source>
        <translation>
            <numerusform>Напечатать %n запись, по странице на каждую?</numerusform>
            <numerusform>Напечатать %n записи, по странице на каждую?</numerusform>
            <numerusform>Напечатать %n записей, по странице на каждую?</numerusform>
        </translation>
    </message>
    <message>
        <source>CSV for spreadsheets (*.csv)</source>
        <translation>CSV для электронных таблиц (*.csv)</translation>
    </message>
    <message>
        <source>CSV (RFC 4180) (*.csv)</source>
        <translation>CSV (RFC 4180) (*.csv)</translation>
    </message>
    <message>
        <source>Printing…</source>
        <translation>Печать…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message numerus="yes">
        <source>Printing was cancelled; the %n sheet(s) made before it may still be printed.</source>
        <translation>
            <numerusform>Печать отменена; %n лист, подготовленный до отмены, может всё же быть напечатан.</numerusform>
            <numerusform>Печать отменена; %n листа, подготовленные до отмены, могут всё же быть напечатаны.</numerusform>
            <numerusform>Печать отменена; %n листов, подготовленных до отмены, могут всё же быть напечатаны.</numerusform>
        </translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Предварительный просмотр</translation>
    </message>
    <message>
        <source>Scanlet report</source>
        <translation>Отчёт Scanlet</translation>
    </message>
    <message>
        <source>Scanlet report %1.pdf</source>
        <translation>Отчёт Scanlet %1.pdf</translation>
    </message>
</context>
<context>
    <name>CDataManagerTempl</name>
    <message>
        <source>Instrument Settings</source>
        <translation>Настройки прибора</translation>
    </message>
</context>
<context>
    <name>CHelpViewer</name>
    <message>
        <source>Scanlet</source>
        <translation>Scanlet</translation>
    </message>
</context>
<context>
    <name>CListWidgetHeir</name>
    <message>
        <source>Copy Settings</source>
        <translation>Копировать настройки</translation>
    </message>
    <message>
        <source>Export Settings…</source>
        <translation>Экспортировать настройки…</translation>
    </message>
    <message>
        <source>Print Preview…</source>
        <translation>Предварительный просмотр…</translation>
    </message>
    <message>
        <source>Report Details…</source>
        <translation>Данные отчёта…</translation>
    </message>
</context>
<context>
    <name>ReportDetailsDialog</name>
    <message>
        <source>Report Details</source>
        <translation>Данные отчёта</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Shows, saves and prints the A-scans of the ultrasonic flaw detector.
A name that starts with &quot;-&quot; follows &quot;--&quot;: scanlet -- -3.jpg</source>
        <translation>Показывает, сохраняет и печатает А-сканы ультразвукового дефектоскопа.
Имя, начинающееся с &quot;-&quot;, пишется после &quot;--&quot;: scanlet -- -3.jpg</translation>
    </message>
    <message>
        <source>An A-scan file: its folder is loaded and the file selected. A folder: its A-scans are loaded.</source>
        <translation>Файл А-скана: загружается его папка и выбирается этот файл. Папка: загружаются её А-сканы.</translation>
    </message>
    <message>
        <source>Give one file or folder at most.</source>
        <translation>Укажите не больше одного файла или папки.</translation>
    </message>
    <message>
        <source>FILE|FOLDER</source>
        <translation>ФАЙЛ|ПАПКА</translation>
    </message>
</context>
<context>
    <name>ReportDetailsTab</name>
    <message>
        <source>Organisation:</source>
        <translation>Организация:</translation>
    </message>
    <message>
        <source>Object:</source>
        <translation>Объект:</translation>
    </message>
    <message>
        <source>Operator:</source>
        <translation>Оператор:</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Примечания:</translation>
    </message>
    <message>
        <source>Fit each record on one sheet</source>
        <translation>Каждую запись на одном листе</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Отчёт</translation>
    </message>
    <message>
        <source>Report No.:</source>
        <translation>Отчёт №:</translation>
    </message>
    <message>
        <source>Inspection date:</source>
        <translation>Дата контроля:</translation>
    </message>
    <message>
        <source>Place:</source>
        <translation>Место:</translation>
    </message>
    <message>
        <source>Instrument serial No.:</source>
        <translation>Заводской № прибора:</translation>
    </message>
    <message>
        <source>Procedure or standard:</source>
        <translation>Методика или стандарт:</translation>
    </message>
    <message>
        <source>Acceptance criterion:</source>
        <translation>Критерий приёмки:</translation>
    </message>
    <message>
        <source>Certification level:</source>
        <translation>Уровень квалификации:</translation>
    </message>
    <message>
        <source>Reviewer:</source>
        <translation>Проверил:</translation>
    </message>
    <message>
        <source>Signature:</source>
        <translation>Подпись:</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Дата:</translation>
    </message>
</context>
<context>
    <name>SpreadsheetTable</name>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Заголовок</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Конфигурация</translation>
    </message>
    <message>
        <source>settings cannot be read</source>
        <translation>настройки не читаются</translation>
    </message>
    <message>
        <source>not an A-scan file</source>
        <translation>не файл А-скана</translation>
    </message>
    <message>
        <source>no such file</source>
        <translation>нет такого файла</translation>
    </message>
    <message>
        <source>is a directory</source>
        <translation>это папка</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>нет доступа</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
</context>
<context>
    <name>dlg_infoLoad</name>
    <message>
        <source>Data Loading</source>
        <translation>Загрузка данных</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>dlg_infoSave</name>
    <message>
        <source>Data Saving</source>
        <translation>Сохранение данных</translation>
    </message>
    <message>
        <source>Data are being saved. Saved:</source>
        <translation>Идёт сохранение данных. Сохранено:</translation>
    </message>
</context>
</TS>

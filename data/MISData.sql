-- The database delivered with an installation: sqlite3 MISData.db < MISData.sql
PRAGMA user_version = 1;

CREATE TABLE SysConfig (
    Name  TEXT NOT NULL UNIQUE,
    Value TEXT
);

CREATE TABLE User (
    ID       TEXT NOT NULL,
    PassWord TEXT
);

CREATE TABLE TBL_TRANS_LOG (
    REC_CREATE_TIME TEXT,
    TRANS_CODE      TEXT,
    PROCESS_FLAG    TEXT,
    REV_FLAG        TEXT,
    ORIG_ORDER_NUM  TEXT,
    ORDER_NUM       TEXT,
    OPER_ID         TEXT,
    TRANS_AMT       NUMERIC,
    ACCEPT_INS_CODE TEXT,
    RESP_CODE       TEXT,
    SYS_DATE        TEXT,
    ACCT_ID         TEXT,
    SA_SAV1         TEXT,
    SETTLE_TYPE     TEXT DEFAULT '0'
);

-- The list (newest first), reprints by order number, settlement per operator, pruning by day.
CREATE INDEX IX_TRANS_LOG_TIME ON TBL_TRANS_LOG (REC_CREATE_TIME);
CREATE INDEX IX_TRANS_LOG_ORDER ON TBL_TRANS_LOG (ORDER_NUM);
CREATE INDEX IX_TRANS_LOG_ORIG_ORDER ON TBL_TRANS_LOG (ORIG_ORDER_NUM, REC_CREATE_TIME);
CREATE INDEX IX_TRANS_LOG_SETTLE ON TBL_TRANS_LOG (OPER_ID, SETTLE_TYPE, PROCESS_FLAG);
CREATE INDEX IX_TRANS_LOG_SYS_DATE ON TBL_TRANS_LOG (SYS_DATE);

INSERT INTO SysConfig (Name, Value) VALUES
    ('InsCode', '48020000'),
    ('MerCode', '898310060110001'),
    ('TermCode', '10000001'),
    ('MerName', 'Zelvo演示商户'),
    ('MerKey', 'Zelvo0123456789abcdefDEMOKEY2026'),
    ('ServerIP', '127.0.0.1'),
    ('ServerPort', '17601'),
    ('WaitTime', '30'),
    ('PrintMerPage', '1'),
    ('PrintCustPage', '1'),
    ('PrintMaketing', '0'),
    ('Charset', '1'),
    ('SpacLine', '3'),
    ('LineWide', '32'),
    ('Currency', 'CNY'),
    ('PrintName', '无驱动打印'),
    ('FontSize', '20'),
    ('LineHeight', '0'),
    ('SerialPort', 'printer-port.txt'),
    ('UpdateServer', ''),
    ('TitleName', 'Zelvo'),
    ('StatusName', 'Zelvo 扫码收款 · 客服 400-800-1234'),
    ('WelComeName', '欢迎进入Zelvo'),
    ('OpencvFlag', '1'),
    ('ShowKey', 'ctrl+a'),
    ('HideKey', 'ctrl+b'),
    ('LeftKey', 'f1'),
    ('RightKey', 'f2'),
    ('RepealKey', 'f3'),
    ('SettleKey', 'f4'),
    ('CutRect', '');

INSERT INTO User (ID, PassWord) VALUES
    ('00', '888888'),
    ('01', '123456'),
    ('02', '654321');

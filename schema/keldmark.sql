/* Memo database KELDMARK.FDB: memos and memo genres. The lessons table
   FISH_KADAI is not created here: the maintenance window creates it.
   Dialect 1, character set NONE: text is stored as Shift-JIS bytes. */

CREATE TABLE FISH_MEMO (
  CODE          INTEGER,
  FISH1         VARCHAR(20),
  FISH2         VARCHAR(20),
  FISH3         VARCHAR(20),
  BUNRUI        VARCHAR(20),
  M1            INTEGER,
  M2            INTEGER,
  M3            INTEGER,
  M4            INTEGER,
  M5            INTEGER,
  M6            INTEGER,
  M7            INTEGER,
  M8            INTEGER,
  M9            INTEGER,
  M10           INTEGER,
  M11           INTEGER,
  M12           INTEGER,
  F_MEMO        BLOB SUB_TYPE TEXT SEGMENT SIZE 80,
  F_MAP         BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_SHIO        BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO1      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO2      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO3      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO4      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO5      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO6      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO7      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO8      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  F_PHOTO9      BLOB SUB_TYPE 0 SEGMENT SIZE 4096,
  TURI          VARCHAR(40),
  BASYO         VARCHAR(40)
);

CREATE TABLE SYURUI (
  SYURUI        VARCHAR(20)
);

COMMIT;

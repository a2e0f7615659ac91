-- The reading rules: the four roots in the order Firefox shows them (menu, toolbar, other, mobile; tags left
-- out), children by position whatever their ids, nested and empty folders, separators, UTF-8 titles into
-- the code page, dates in microseconds, and the rows that are left out.
INSERT INTO moz_places (id, url, title, last_visit_date, guid) VALUES
  (1, 'https://www.mozilla.org/', 'Mozilla', 1700000000999999, 'place0000001'),
  (2, 'https://caf.example/?a=1&b=2', 'page title is not the bookmark title', NULL, 'place0000002'),
  (3, 'place:sort=8&maxResults=10', NULL, NULL, 'place0000003'),
  (4, 'https://deep.example/', 'Deep', 0, 'place0000004'),
  (5, 'https://toolbar.example/', NULL, NULL, 'place0000005'),
  (6, 'Open Folder', NULL, NULL, 'place0000006'),
  (7, 'https://unfiled.example/', NULL, NULL, 'place0000007'),
  (8, 'https://history-only.example/', 'Never bookmarked', 1700000000000000, 'place0000008');
INSERT INTO moz_historyvisits (place_id, visit_date, visit_type) VALUES (1, 1700000000999999, 1), (8, 1700000000000000, 1);
INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded, lastModified, guid) VALUES
  (30, 1, 2, 2, 1, 'Café €5 😀', 1600000000000000, 1650000000123456, 'bookmark0030'),
  (20, 1, 1, 2, 0, 'Mozilla', 1600000000000000, 0, 'bookmark0020'),
  (31, 3, NULL, 2, 2, NULL, 1600000000000000, 1600000000000000, 'separator031'),
  (40, 2, NULL, 2, 3, 'Outer', 1610000000000000, 1620000000000000, 'folder000040'),
  (41, 2, NULL, 40, 0, 'Inner', 1610000000000000, 1610000000000000, 'folder000041'),
  (42, 1, 4, 41, 0, NULL, 1610000000000000, 1610000000000000, 'bookmark0042'),
  (43, 2, NULL, 40, 1, 'Empty', 1610000000000000, 1610000000000000, 'folder000043'),
  (44, 1, 3, 2, 4, 'Most Visited', 1600000000000000, 1600000000000000, 'query0000044'),
  (45, 1, 99, 2, 5, 'No place', 1600000000000000, 1600000000000000, 'bookmark0045'),
  (46, 1, 6, 2, 6, 'Marker', 1600000000000000, 1600000000000000, 'bookmark0046'),
  (47, 4, NULL, 2, 7, 'Unknown type', 1600000000000000, 1600000000000000, 'unknown00047'),
  (50, 1, 5, 3, 0, 'Toolbar one', 1630000000000000, NULL, 'bookmark0050'),
  (60, 2, NULL, 4, 0, 'tagged', 1600000000000000, 1600000000000000, 'tagfolder060'),
  (61, 1, 1, 60, 0, NULL, 1600000000000000, 1600000000000000, 'tagentry0061'),
  (70, 1, 7, 5, 0, 'Unfiled one', 1640000000000000, 1640000000000000, 'bookmark0070'),
  (80, 1, 7, 999, 0, 'Orphan', 1640000000000000, 1640000000000000, 'bookmark0080');
